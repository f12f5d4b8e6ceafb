#include "logic/file_stamp.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace kavrin {
namespace {

// Only tells a changed file from its own bytes, never an attacker's: a hash
// that keeps the same value across Qt versions (a recovery copy keeps it)
// and that costs a load of a large file little.
QByteArray hashOf(QByteArrayView bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1); }

} // namespace

FileStamp stampOf(const QString &path, QByteArrayView bytes) {
  const QFileInfo info(path);
  if (!info.exists()) {
    return {};
  }
  return {true, info.size(), info.lastModified(), hashOf(bytes), QDateTime::currentDateTime()};
}

FileStamp stampOfFile(const QString &path) {
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
    return {};
  }
  return stampOf(path, file.readAll());
}

DiskChange changeSince(const QString &path, const FileStamp &stamp) {
  const QFileInfo info(path);
  if (!info.exists()) {
    return stamp.exists ? DiskChange::Removed : DiskChange::None;
  }
  constexpr qint64 kCoarsestTickMs = 2000;
  if (stamp.exists && info.size() == stamp.size && info.lastModified() == stamp.modified &&
      stamp.modified.msecsTo(stamp.taken) > kCoarsestTickMs) {
    return DiskChange::None;
  }
  QFile file(path);
  if (!stamp.exists || !file.open(QIODevice::ReadOnly)) {
    return DiskChange::Changed;
  }
  const QByteArray bytes = file.readAll();
  return bytes.size() == stamp.size && hashOf(bytes) == stamp.hash ? DiskChange::None : DiskChange::Changed;
}

} // namespace kavrin
