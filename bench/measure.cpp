#include "measure.h"

#include "app/application.h"
#include "app/main_window.h"
#include "report.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace kavrin::bench {

double median(std::vector<double> values) {
  if (values.empty()) {
    return 0.0;
  }
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

Row msRow(const QString &figure, const std::vector<double> &ms, const char *what, double limitMs) {
  dump(QString::fromUtf8(what), ms);
  const double measured = median(ms);
  return {figure, QStringLiteral("<= %1 ms").arg(limitMs), fixed(measured, 1) + QStringLiteral(" ms"),
          verdict(measured, limitMs, 1)};
}

double percentile(std::vector<double> values, double fraction) {
  if (values.empty()) {
    return 0.0;
  }
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
  return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double millisecondsOf(const std::function<void()> &work) {
  QElapsedTimer timer;
  timer.start();
  work();
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double settledMs(QPlainTextEdit *editor, const std::function<void()> &work) {
  return millisecondsOf([&] {
    work();
    QCoreApplication::sendPostedEvents();
    editor->viewport()->repaint();
  });
}

PairedTimes timePairs(int count, const std::function<double()> &kavrin, const std::function<double()> &bare,
                      const std::function<void()> &reset) {
  reset();
  kavrin();
  reset();
  bare();
  PairedTimes times;
  for (int i = 0; i < count; ++i) {
    const bool kavrinFirst = i % 2 == 0;
    reset();
    const double first = kavrinFirst ? kavrin() : bare();
    reset();
    const double second = kavrinFirst ? bare() : kavrin();
    times.kavrinMs.push_back(kavrinFirst ? first : second);
    times.bareMs.push_back(kavrinFirst ? second : first);
    times.ratios.push_back(times.kavrinMs.back() / times.bareMs.back());
  }
  dump("kavrin ms", times.kavrinMs);
  dump("bare ms", times.bareMs);
  dump("ratio", times.ratios);
  return times;
}

void waitUntilExposed(QWidget *widget) {
  const QDeadlineTimer deadline(10'000);
  while (widget->windowHandle() == nullptr || !widget->windowHandle()->isExposed()) {
    if (deadline.hasExpired()) {
      throw Failure(QStringLiteral("window was never shown"));
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  widget->repaint();
  QCoreApplication::processEvents();
}

ProgramPaths benchPaths(const QString &iniFile) {
  // Recovery copies beside the settings, in the run's own folder.  A window
  // dropped with unsaved text keeps its copy, as after a crash; a folder for
  // each keeps the next window from being offered it.
  static int windows = 0;
  return {QCoreApplication::applicationDirPath() + u'/', iniFile,
          QFileInfo(iniFile).dir().filePath(QStringLiteral("state-%1").arg(++windows))};
}

std::unique_ptr<MainWindow> shownMainWindow(UserInterface &ui, const ProgramPaths &paths) {
  std::unique_ptr<MainWindow> window = createMainWindow(ui, {}, paths);
  if (!window) {
    throw Failure(QStringLiteral("kavrin's window could not be built"));
  }
  window->show();
  waitUntilExposed(window.get());
  return window;
}

std::optional<long long> peakMemoryKiB() {
#ifdef Q_OS_LINUX
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) {
    return std::nullopt;
  }
  // /proc files claim size 0, so read to the end rather than test atEnd().
  for (const QByteArray &line : status.readAll().split('\n')) {
    if (line.startsWith("VmHWM:")) {
      bool ok = false;
      const long long kib = line.mid(6).trimmed().split(' ').value(0).toLongLong(&ok);
      return ok ? std::optional(kib) : std::nullopt;
    }
  }
#endif
  return std::nullopt;
}

QByteArray readFile(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw Failure(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
  }
  return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
    throw Failure(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
  }
}

} // namespace kavrin::bench
