#include "platform/write_stamp.h"

#include <QFileInfo>

#include <system_error>

namespace kavrin {

WriteStamp writeStampOf(const QString &path) {
  const std::filesystem::path file = QFileInfo(path).filesystemFilePath();
  // file_size fails on anything but a regular file, and on an empty path.
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  const std::filesystem::file_time_type modified =
      error ? std::filesystem::file_time_type{} : std::filesystem::last_write_time(file, error);
  return error ? WriteStamp{} : WriteStamp{true, size, modified};
}

bool writtenSince(const QString &path, const WriteStamp &before) {
  const WriteStamp now = writeStampOf(path);
  return now.exists && now != before;
}

} // namespace kavrin
