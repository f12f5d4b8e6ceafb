#pragma once

#include <QString>

namespace kavrin {

// What follows the last directory separator of the platform: "/" on Linux
// and macOS; "\", "/" or ":" on Windows.
QString nativeFileNamePart(const QString &path);

// What follows the last "\" or "/": a converter may be set as a Windows
// path or as one of this system.
QString programFileNamePart(const QString &path);

// Whether two paths name the same file as far as their spelling tells: the
// comparison ignores letter case where the file system does.
bool samePath(const QString &a, const QString &b);

// Whether two paths name one file: by the file system (links, case) where
// both exist, by their spelling where not.
bool sameFile(const QString &a, const QString &b);

} // namespace kavrin
