#include "platform/write_stamp.h"

#include <QFileInfo>

#include <chrono>
#include <system_error>

#ifdef Q_OS_WIN
#include <QDir>

#include <windows.h>
#endif

namespace kavrin {

#ifdef Q_OS_WIN

// MinGW's stat, under std::filesystem, keeps whole seconds only: an image
// of the same size written within the second would look unwritten.
WriteStamp writeStampOf(const QString &path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (path.isEmpty() ||
      !GetFileAttributesExW(
          QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdWString().c_str(),
          GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
    return {};
  }
  // The file time counts 100 ns from 1601: from 1970 it fits nanoseconds.
  const auto join = [](DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; };
  constexpr std::int64_t from1601To1970 = 116'444'736'000'000'000;
  using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;
  const Ticks ticks(static_cast<std::int64_t>(
                        join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)) -
                    from1601To1970);
  const auto modified = std::chrono::file_clock::from_sys(std::chrono::sys_time<Ticks>(ticks));
  return {true, join(data.nFileSizeHigh, data.nFileSizeLow),
          std::chrono::time_point_cast<std::filesystem::file_time_type::duration>(modified)};
}

#else

WriteStamp writeStampOf(const QString &path) {
  const std::filesystem::path file = QFileInfo(path).filesystemFilePath();
  // file_size fails on anything but a regular file, and on an empty path.
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  const std::filesystem::file_time_type modified =
      error ? std::filesystem::file_time_type{} : std::filesystem::last_write_time(file, error);
  return error ? WriteStamp{} : WriteStamp{true, size, modified};
}

#endif

bool writtenSince(const QString &path, const WriteStamp &before) {
  const WriteStamp now = writeStampOf(path);
  return now.exists && now != before;
}

} // namespace kavrin
