#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

namespace kavrin {

// Reads a whole file; throws Error with a message naming the file.
QByteArray readFileBytes(const QString &path);

// Reads a Shift-JIS text file into editor text.
QString readTextFile(const QString &path);

struct WriteOptions {
  // The new file's; otherwise an existing file keeps its own.
  std::optional<QFileDevice::Permissions> permissions;
  // Reads the bytes back from the new file before it replaces the old one.
  bool readBack = false;
};

// Replaces the file in one step, and only once every byte has reached the
// disk: on any failure the old file stays byte for byte, no temporary file
// is left, and an Error names the file and the reason the system gave.
// Then the folder is synced, so that a power cut cannot bring the old file
// back; as the new file is in place by then, a failure there is no failed
// save: its reason is returned (empty when all went well, or where the
// system cannot sync a folder).
QString writeFileAtomically(const QString &path, const QByteArray &bytes, const WriteOptions &options = {});

} // namespace kavrin
