#pragma once

#include <QByteArray>
#include <QString>

namespace kavrin {

// Reads a whole file; throws Error with a message naming the file.
QByteArray readFileBytes(const QString &path);

// Reads a Shift-JIS text file into editor text.
QString readTextFile(const QString &path);

// Replaces the file in one step: until all bytes are written and flushed the
// old file stays as it was.  Throws Error with a message naming the file.
void writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace kavrin
