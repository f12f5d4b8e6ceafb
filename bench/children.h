#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

namespace kavrin::bench {

// The processes that the driver starts from its own executable.  Each
// returns the exit code; `argc` and `argv` go to QApplication.

// Opens kavrin's main window with the settings file `iniFile` and quits as
// soon as it has been shown, printing "window W H", its size, on standard
// output.
int startUpChild(int &argc, char **argv, const QString &iniFile);

// Opens a bare Qt window of `size` (kavrin's when empty) and quits as soon
// as it has been shown.
int bareStartUpChild(int &argc, char **argv, QSize size);

// Opens kavrin's main window with the settings file `iniFile`, loads `file`
// unless it is empty, and prints "peak-kib N" (or "peak-kib n/a") on
// standard output.
int memoryChild(int &argc, char **argv, const QString &iniFile, const QString &file);

struct ChildResult {
  double ms = 0.0;
  QByteArray output;
};

// Starts this executable with `args`, which choose one of the modes above;
// the time runs from the spawn to the child's exit.
ChildResult runChild(const QStringList &args);

} // namespace kavrin::bench
