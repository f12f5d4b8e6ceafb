#pragma once

#include <QString>

#include <cstdint>
#include <filesystem>

namespace kavrin {

// Whether a file was written, by its size and modification time as finely
// as the file system keeps it: a millisecond, all Qt tells, can hold two
// writes.
struct WriteStamp {
  bool exists = false;
  std::uintmax_t size = 0;
  std::filesystem::file_time_type modified{};

  bool operator==(const WriteStamp &) const = default;
};

// The regular file at `path` as it is now; none for anything else.
WriteStamp writeStampOf(const QString &path);

// Whether the file at `path` was created or written since `before` was taken.
bool writtenSince(const QString &path, const WriteStamp &before);

} // namespace kavrin
