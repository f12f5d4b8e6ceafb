#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

namespace kavrin {

// What a document's file held when the editor last read or wrote it, so
// that a change made by another program is noticed before a save.
struct FileStamp {
  bool exists = false;
  qint64 size = 0;
  QDateTime modified;
  // A digest of the bytes, the same in every run and version: a stamp is
  // kept in recovery copies.
  QByteArray hash;
  // When the stamp was taken: a file changed within the same tick of a
  // coarse clock (FAT keeps two seconds) keeps its time.
  QDateTime taken;
};

// The file at `path` just after `bytes` were read from it or written to it.
FileStamp stampOf(const QString &path, QByteArrayView bytes);
// The file at `path` as it is now; no file gives a stamp of none.
FileStamp stampOfFile(const QString &path);

enum class DiskChange { None, Changed, Removed };

// How the file differs from `stamp`.  One look at its size and time; the
// contents are read only when those differ (a file merely touched counts as
// unchanged), or when the stamp was taken so soon after the file's time that
// a change could have kept it.
DiskChange changeSince(const QString &path, const FileStamp &stamp);

} // namespace kavrin
