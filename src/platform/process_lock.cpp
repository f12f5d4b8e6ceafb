#include "platform/process_lock.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace kavrin {
namespace {

// An open of `path` holding its lock, or -1; `busy` tells a lock held
// elsewhere from any other failure.
long long lockFile(const QString &path, bool create, bool &busy) {
  busy = false;
#ifdef Q_OS_WIN
  // A file opened without sharing is the lock: no other open succeeds.
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

} // namespace

ProcessLock::~ProcessLock() {
  if (held()) {
    unlockFile(handle_);
  }
}

bool ProcessLock::acquire(const QString &path) {
  release();
  bool busy = false;
  handle_ = lockFile(path, true, busy);
  path_ = held() ? path : QString();
  return held();
}

void ProcessLock::release() {
  if (!held()) {
    return;
  }
  unlockFile(handle_);
  QFile::remove(path_);
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

} // namespace kavrin
