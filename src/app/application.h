#pragma once

#include <QStringList>

#include <functional>
#include <memory>

class QApplication;

namespace kavrin {

class MainWindow;
class UserInterface;
struct ProgramPaths;

// Builds the main window from the command-line arguments (program name
// excluded).  A start-up failure is shown and gives nullptr.
std::unique_ptr<MainWindow> createMainWindow(UserInterface &ui, const QStringList &args);
std::unique_ptr<MainWindow> createMainWindow(UserInterface &ui, const QStringList &args,
                                             const ProgramPaths &paths);

// The program entry: the main window, then the event loop.  `files` are the
// command line's file arguments.  Returns the exit code: 1 when start-up
// failed.
int runApplication(QApplication &app, UserInterface &ui, const QStringList &files);

// Prepares the application object: title, Japanese fonts and dialog texts.
void initialiseApplication(QApplication &app);

} // namespace kavrin
