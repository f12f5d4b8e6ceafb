#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace kavrin::bench {

// What kavrin's first window shows, as its start-up child prints it, so that
// a bare window can be opened alike.
struct WindowLook {
  QSize size;
  // As QFont::toString() gives them: the menus' and status bar's font, and
  // the editor's.
  QString windowFont;
  QString editorFont;
  QStringList menuTitles;
  // The status bar's texts as drawn.
  QStringList statusTexts;
};

// The child's output read back; throws Failure on anything else.
WindowLook readWindowLook(const QByteArray &printed);

// The processes that the driver starts from its own executable.  Each
// returns the exit code; `argc` and `argv` go to QApplication.

// Opens kavrin's main window with the settings file `iniFile` and quits as
// soon as it has been shown, printing its WindowLook on standard output.
int startUpChild(int &argc, char **argv, const QString &iniFile);

// Opens a bare Qt window of `size` (kavrin's when empty) and quits as soon
// as it has been shown.
int bareStartUpChild(int &argc, char **argv, QSize size);

// Opens a bare Qt window like kavrin's, as the file `lookFile` describes it
// (what startUpChild printed), and quits as soon as it has been shown: the
// menu titles, the status texts in one message, and kavrin's fonts.
int lookAlikeStartUpChild(int &argc, char **argv, const QString &lookFile);

// Opens kavrin's main window with the settings file `iniFile`, loads `file`
// unless it is empty, and prints "peak-kib N" (or "peak-kib n/a") on
// standard output.
int memoryChild(int &argc, char **argv, const QString &iniFile, const QString &file);

struct ChildResult {
  // From the spawn to the first window shown, for a start-up child.
  std::optional<double> shownMs;
  // The processor time the child used, user and system (0 where the system
  // does not tell), exit included: unlike `shownMs`, hardly swayed by
  // other programs' load.
  double cpuMs = 0.0;
  QByteArray output;
};

// Starts this executable with `args`, which choose one of the modes above,
// in `environment` (this process's when empty).
ChildResult runChild(const QStringList &args, const QProcessEnvironment &environment = {});

} // namespace kavrin::bench
