#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace kavrin::bench {

// A Shift-JIS BASIC program of exactly `size` bytes: numbered lines mixing
// ASCII and Japanese, CR LF line ends.  The same size gives the same bytes.
QByteArray makeSampleProgram(qsizetype size);

// About 1 MiB of short lines full of line references, numbered 10, 20, ...
// or shuffled; the same call gives the same text.
inline constexpr int kToolsProgramLines = 40000;
QString toolsProgram(bool shuffled);

} // namespace kavrin::bench
