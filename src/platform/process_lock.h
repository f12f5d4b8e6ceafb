#pragma once

#include <QString>

namespace kavrin {

// A lock on a file that the system lets go of when the process ends in any
// way (killed, crashed, the machine stopped), so that others can tell a
// running program's files from those it left behind.
class ProcessLock {
public:
  ProcessLock() = default;
  ~ProcessLock();
  ProcessLock(const ProcessLock &) = delete;
  ProcessLock &operator=(const ProcessLock &) = delete;

  // Creates the file if need be and locks it; false when it cannot, or
  // when another program holds it.  Another program's look at the file
  // (isHeld, removeIfUnheld) never makes it fail.
  bool acquire(const QString &path);
  // Lets go of the lock and removes the file.
  void release();
  bool held() const { return handle_ != kNone; }

  // Whether some open, in this process or another, holds the lock on
  // `path`; a file that does not exist is not held.
  static bool isHeld(const QString &path);
  // Removes `path` unless someone holds its lock, with no moment between
  // the look and the removal in which a lock could be taken on it.
  static void removeIfUnheld(const QString &path);

private:
  static constexpr long long kNone = -1;
  long long handle_ = kNone;
  QString path_;
};

} // namespace kavrin
