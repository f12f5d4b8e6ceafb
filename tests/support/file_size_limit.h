#pragma once

#include <gtest/gtest.h>

#ifdef _WIN32

// Windows has no limit a process can set on the size of the files it writes,
// so a test of a full disk starts with KAVRIN_NEEDS_FILE_SIZE_LIMIT().
#define KAVRIN_NEEDS_FILE_SIZE_LIMIT() GTEST_SKIP() << "Windows has no file size limit to fill the disk with"

#include <QString>
#include <windows.h>

namespace kavrin::testing {

using rlim_t = unsigned long long;

// While alive, another program holds the file open, sharing nothing: what
// fails there instead of a full disk.
class HeldOpen {
public:
  explicit HeldOpen(const QString &path)
      : handle_(
            CreateFileW(path.toStdWString().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
    EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
  }
  ~HeldOpen() { CloseHandle(handle_); }
  HeldOpen(const HeldOpen &) = delete;
  HeldOpen &operator=(const HeldOpen &) = delete;

private:
  HANDLE handle_;
};

class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t) {}
  ~FileSizeLimit() {}
  FileSizeLimit(const FileSizeLimit &) = delete;
  FileSizeLimit &operator=(const FileSizeLimit &) = delete;
};

} // namespace kavrin::testing

#else

#include <csignal>
#include <sys/resource.h>

#define KAVRIN_NEEDS_FILE_SIZE_LIMIT() static_cast<void>(0)

namespace kavrin::testing {

// Nothing here: a file open elsewhere can still be replaced.
struct HeldOpen {
  template <typename Path> explicit HeldOpen(const Path &) {}
};

// While alive, writing past `bytes` in any file fails as on a full disk.
// Unlike permissions, this binds root too.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit &) = delete;
  FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

} // namespace kavrin::testing

#endif
