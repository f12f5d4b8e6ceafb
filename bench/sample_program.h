#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace kavrin::bench {

// A Shift-JIS BASIC program of exactly `size` bytes: numbered lines mixing
// ASCII and Japanese, CR LF line ends.  The same size gives the same bytes.
QByteArray makeSampleProgram(qsizetype size);

} // namespace kavrin::bench
