#pragma once

#include <QString>

namespace kavrin::bench {

// The processes that the driver starts from its own executable.  Each
// returns the exit code; `argc` and `argv` go to QApplication.

// Opens kavrin's main window (`kavrinWindow`) or a bare Qt one and quits as
// soon as it has been shown.
int startUpChild(int &argc, char **argv, bool kavrinWindow);

// Opens kavrin's main window, loads `file` unless it is empty, and prints
// "peak-kib N" (or "peak-kib n/a") on standard output.
int memoryChild(int &argc, char **argv, const QString &file);

} // namespace kavrin::bench
