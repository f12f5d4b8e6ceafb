#include "platform/process_lock.h"

#include <QFile>
#include <QThread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kavrin {
namespace {

// Another program looks at a lock for a moment only; a lock taken that
// long is tried again rather than given up.
constexpr int kAttempts = 200;
constexpr int kAttemptPauseMs = 1;

// An open of `path` holding its lock, or -1; `busy` tells a lock held
// elsewhere from any other failure.
long long lockFile(const QString &path, bool create, bool &busy) {
  busy = false;
#ifdef Q_OS_WIN
  // A file opened without sharing is the lock: no other open succeeds, and
  // nobody can remove it while it is open.
  HANDLE h = CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), GENERIC_READ | GENERIC_WRITE, 0,
                         nullptr, create ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    busy = GetLastError() == ERROR_SHARING_VIOLATION;
    return -1;
  }
  return reinterpret_cast<long long>(h);
#else
  const int fd =
      ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0600);
  if (fd < 0) {
    return -1;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    busy = errno == EWOULDBLOCK;
    ::close(fd);
    return -1;
  }
  return fd;
#endif
}

void unlockFile(long long handle) {
#ifdef Q_OS_WIN
  CloseHandle(reinterpret_cast<HANDLE>(handle));
#else
  ::close(static_cast<int>(handle)); // closing the only open drops the lock
#endif
}

// Whether the lock is on the file that `path` names now: another program's
// clean-up may have removed the file between its creation and the lock.
bool stillAtPath(long long handle, const QString &path) {
#ifdef Q_OS_WIN
  Q_UNUSED(handle);
  Q_UNUSED(path);
  return true; // an open file cannot be removed there
#else
  struct stat opened {};
  struct stat named {};
  return ::fstat(static_cast<int>(handle), &opened) == 0 &&
         ::stat(QFile::encodeName(path).constData(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
#endif
}

} // namespace

ProcessLock::~ProcessLock() {
  if (held()) {
    unlockFile(handle_);
  }
}

bool ProcessLock::acquire(const QString &path) {
  release();
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    bool busy = false;
    const long long handle = lockFile(path, true, busy);
    if (handle != -1 && stillAtPath(handle, path)) {
      handle_ = handle;
      path_ = path;
      return true;
    }
    if (handle != -1) {
      unlockFile(handle); // locked a file that is gone: make it anew
    } else if (!busy) {
      return false;
    }
    QThread::msleep(kAttemptPauseMs);
  }
  return false;
}

void ProcessLock::release() {
  if (!held()) {
    return;
  }
#ifdef Q_OS_WIN
  unlockFile(handle_); // an open file cannot be removed there
  QFile::remove(path_);
#else
  // Removed while still locked, so that no one takes a lock on it between.
  QFile::remove(path_);
  unlockFile(handle_);
#endif
  handle_ = kNone;
  path_.clear();
}

bool ProcessLock::isHeld(const QString &path) {
  bool busy = false;
  const long long handle = lockFile(path, false, busy);
  if (handle != -1) {
    unlockFile(handle);
  }
  return busy;
}

void ProcessLock::removeIfUnheld(const QString &path) {
  bool busy = false;
  const long long handle = lockFile(path, false, busy);
  if (handle == -1) {
    return;
  }
#ifdef Q_OS_WIN
  unlockFile(handle); // an open file cannot be removed there, and its name is no one else's
  QFile::remove(path);
#else
  QFile::remove(path);
  unlockFile(handle);
#endif
}

} // namespace kavrin
