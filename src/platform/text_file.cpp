#include "platform/text_file.h"

#include "platform/cp932.h"
#include "platform/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kavrin {
namespace {

// Some file systems report a full disk only when the data is synced.  Where
// the file has no descriptor (Windows), QSaveFile's own sync stands.
bool syncToDisk(QFileDevice &file) {
#ifdef Q_OS_WIN
  Q_UNUSED(file);
  return true;
#else
  const int fd = file.handle();
  return fd < 0 || ::fsync(fd) == 0;
#endif
}

// Whether the file behind `file` holds exactly `bytes`, read through its
// own descriptor; nothing where it has none (Windows).
std::optional<bool> holds(QFileDevice &file, const QByteArray &bytes) {
#ifdef Q_OS_WIN
  Q_UNUSED(file);
  Q_UNUSED(bytes);
  return std::nullopt;
#else
  const int fd = file.handle();
  if (fd < 0) {
    return std::nullopt;
  }
  QByteArray back(bytes.size() + 1, Qt::Uninitialized);
  qsizetype done = 0;
  while (done < back.size()) {
    const auto got = ::pread(fd, back.data() + done, static_cast<size_t>(back.size() - done), done);
    if (got < 0) {
      return false;
    }
    if (got == 0) {
      break;
    }
    done += got;
  }
  return done == bytes.size() && QByteArrayView(back).first(done) == bytes;
#endif
}

// Writes every byte unbuffered.  The system takes what fits and says why
// only when asked for the rest: a disk that fills up half-way is named as
// full, not as an unknown error.
bool writeAll(QFileDevice &file, const QByteArray &bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const qint64 wrote = file.write(bytes.constData() + done, bytes.size() - done);
    if (wrote <= 0) {
      return false;
    }
    done += wrote;
  }
  return true;
}

// Syncs the folder that holds `path`; the reason when the system could and
// did not.  A folder this user may not read, or a file system that syncs
// no folders, is nothing to report.
QString syncFolderOf(const QString &path) {
#ifdef Q_OS_WIN
  Q_UNUSED(path);
  return {};
#else
  // The folder the new file was renamed into: a link's target's.
  const QString target = QFileInfo(path).canonicalFilePath();
  const QByteArray folder = QFile::encodeName(QFileInfo(target.isEmpty() ? path : target).absolutePath());
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    return errno == EACCES || errno == EPERM ? QString() : QString::fromLocal8Bit(std::strerror(errno));
  }
  const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP || errno == EROFS;
  const QString why = synced ? QString() : QString::fromLocal8Bit(std::strerror(errno));
  ::close(fd);
  return why;
#endif
}

// Gives the new file every permission bit the old one has.  QSaveFile
// copies them as seen by this user, so root (who may write anything) turns
// a read-only file writable; the file's own mode is taken instead.  Where
// there are no such bits (Windows), QSaveFile's copy stands.
bool keepPermissionsOf(const QString &path, QFileDevice &file) {
#ifdef Q_OS_WIN
  Q_UNUSED(path);
  Q_UNUSED(file);
  return true;
#else
  struct stat old {};
  if (::stat(QFile::encodeName(path).constData(), &old) != 0) {
    return true; // a new file keeps the default
  }
  // The new file is ours: a set-id bit of another owner's file would make
  // it run as us.
  const mode_t kept = old.st_mode & (old.st_uid == ::geteuid() ? 07777 : 0777);
  const int fd = file.handle();
  return fd < 0 || ::fchmod(fd, kept) == 0;
#endif
}

} // namespace

QByteArray readFileBytes(const QString &path) {
  QFile file(path);
  if (QFileInfo(path).isDir()) {
    throw Error(
        QStringLiteral("ファイル \"%1\" を開けません。\nフォルダです。").arg(QDir::toNativeSeparators(path)));
  }
  if (!file.open(QIODevice::ReadOnly)) {
    throw Error(QStringLiteral("ファイル \"%1\" を開けません。\n%2")
                    .arg(QDir::toNativeSeparators(path), file.errorString()));
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    throw Error(QStringLiteral("ファイル \"%1\" を読み込めません。\n%2")
                    .arg(QDir::toNativeSeparators(path), file.errorString()));
  }
  return bytes;
}

QString readTextFile(const QString &path) { return cp932::decode(readFileBytes(path)); }

QString writeFileAtomically(const QString &path, const QByteArray &bytes, const WriteOptions &options) {
  QSaveFile file(path);
  const auto fail = [&](const QString &reason) {
    file.cancelWriting();
    throw Error(
        QStringLiteral("ファイル \"%1\" を保存できません。\n%2").arg(QDir::toNativeSeparators(path), reason));
  };
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    fail(file.errorString());
  }
  if (options.permissions ? !file.setPermissions(*options.permissions) : !keepPermissionsOf(path, file)) {
    fail(file.error() != QFileDevice::NoError ? file.errorString()
                                              : QString::fromLocal8Bit(std::strerror(errno)));
  }
  if (!writeAll(file, bytes)) {
    fail(file.errorString());
  }
  // commit() may report success after its own flush failed, so no single
  // answer is trusted: the bytes must be out of the buffer, all of them in
  // the file and synced before the file takes the old one's place.
  if (!file.flush() || file.size() != bytes.size()) {
    fail(file.error() != QFileDevice::NoError ? file.errorString()
                                              : QStringLiteral("ディスクに書き込めませんでした。"));
  }
  if (!syncToDisk(file)) {
    fail(QString::fromLocal8Bit(std::strerror(errno)));
  }
  const QString unreadable = QStringLiteral("書き込んだ内容を読み戻せません。");
  const std::optional<bool> held = options.readBack ? holds(file, bytes) : std::optional<bool>(true);
  if (held == false) {
    fail(unreadable);
  }
  if (!file.commit() || file.error() != QFileDevice::NoError) {
    fail(file.errorString());
  }
  // Without a handle to read through before, the file is read after.
  if (!held && readFileBytes(path) != bytes) {
    throw Error(QStringLiteral("ファイル \"%1\" を保存できません。\n%2")
                    .arg(QDir::toNativeSeparators(path), unreadable));
  }
  return syncFolderOf(path);
}

} // namespace kavrin
