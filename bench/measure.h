#pragma once

#include "report.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

class QPlainTextEdit;
class QWidget;

namespace kavrin {
class MainWindow;
class UserInterface;
struct ProgramPaths;
} // namespace kavrin

namespace kavrin::bench {

// Something the benchmark needed did not work; the run cannot go on.
class Failure : public std::runtime_error {
public:
  explicit Failure(const QString &what) : std::runtime_error(what.toStdString()) {}
};

double median(std::vector<double> values);

// The median of `ms` against at most `limitMs`; the values are dumped as
// `what`.
Row msRow(const QString &figure, const std::vector<double> &ms, const char *what, double limitMs);

// The value that `fraction` of the values do not exceed (nearest rank).
double percentile(std::vector<double> values, double fraction);

// Wall time of `work` in milliseconds.
double millisecondsOf(const std::function<void()> &work);

// What the user waits for: the call, the events it posted and the first
// repaint of the editor.
double settledMs(QPlainTextEdit *editor, const std::function<void()> &work);

// Times of kavrin against bare Qt, taken in pairs whose order alternates,
// `reset` run before each; the first pair only warms up.
struct PairedTimes {
  std::vector<double> kavrinMs;
  std::vector<double> bareMs;
  std::vector<double> ratios;
};
PairedTimes timePairs(int count, const std::function<double()> &kavrin, const std::function<double()> &bare,
                      const std::function<void()> &reset);

// Runs the event loop until the window of `widget` is on screen and painted.
void waitUntilExposed(QWidget *widget);

// The program folder of this executable, which holds the keyword lists, and
// `iniFile` as the settings file: no figure may depend on a "kavrin.ini" left
// beside the executable, nor leave one there.
ProgramPaths benchPaths(const QString &iniFile);

// kavrin's main window as start-up builds it, shown and painted.
std::unique_ptr<MainWindow> shownMainWindow(UserInterface &ui, const ProgramPaths &paths);

// The process's peak resident memory in KiB, where the system tells it.
std::optional<long long> peakMemoryKiB();

QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);

} // namespace kavrin::bench
