#include "children.h"

#include "app/application.h"
#include "app/main_window.h"
#include "document/document_commands.h"
#include "measure.h"
#include "silent_ui.h"
#include "widgets/program_editor.h"
#include "widgets/status_bar.h"

#include <QAction>
#include <QApplication>
#include <QFont>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <cstdint>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace kavrin::bench {
namespace {

// The size kavrin's window is built at, for a bare window run on its own.
constexpr int kWindowWidth = 544;
constexpr int kWindowHeight = 375;

// A child that never gets its window shown must not hang the run.
constexpr int kGiveUpMs = 20'000;
// Nor may one that hangs in any other way.
constexpr int kChildTimeoutMs = 60'000;

// When the window has been shown, on the clock every process shares, so that
// the driver's time stops there and not at the child's exit: tearing down a
// window is no part of starting up.
constexpr char kShownKey[] = "shown-ns";

std::int64_t steadyNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void printShownAt() {
  std::printf("%s %lld\n", kShownKey, static_cast<long long>(steadyNs()));
  std::fflush(stdout);
}

// Watches every event of the application for the first expose of a window.
class QuitWhenShown : public QObject {
protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (!seen_ && event->type() == QEvent::Expose && watched->isWindowType() &&
        static_cast<QWindow *>(watched)->isExposed()) {
      seen_ = true;
      // Queued, so the expose is handled and the window painted first.
      QTimer::singleShot(0, qApp, [] {
        printShownAt();
        QCoreApplication::exit(0);
      });
    }
    return false;
  }

private:
  bool seen_ = false;
};

// The processor time of every child waited for so far.
double childrenCpuMs() {
#ifdef Q_OS_UNIX
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto ms = [](const timeval &t) { return static_cast<double>(t.tv_sec) * 1e3 + t.tv_usec / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
#else
  return 0.0;
#endif
}

void giveUpLater() {
  QTimer::singleShot(kGiveUpMs, qApp, [] {
    std::fputs("window was never shown\n", stderr);
    QCoreApplication::exit(3);
  });
}

// The lines that readWindowLook reads: "key value".
QByteArray printedLook(const MainWindow &window) {
  QByteArray printed = QByteArrayLiteral("window %1 %2\n")
                           .replace("%1", QByteArray::number(window.width()))
                           .replace("%2", QByteArray::number(window.height()));
  const auto add = [&](const char *key, const QString &value) {
    printed += key + QByteArrayLiteral(" ") + value.toUtf8() + '\n';
  };
  add("window-font", window.font().toString());
  add("editor-font", window.editor().font().toString());
  for (const QAction *menu : window.menuBar()->actions()) {
    add("menu", menu->text());
  }
  for (int i = 0; i < PanelStatusBar::kPanelCount; ++i) {
    add("status", window.panels().shownPanelText(i));
  }
  add("status", window.panels().formText()); // drawn in the last panel
  return printed;
}

// The time from `startNs` to the child's printed shown-ns, when it printed one.
std::optional<double> shownMsOf(const QByteArray &printed, std::int64_t startNs) {
  for (const QByteArray &line : printed.split('\n')) {
    if (line.startsWith(QByteArray(kShownKey) + ' ')) {
      bool ok = false;
      const qlonglong shown = line.mid(sizeof kShownKey).toLongLong(&ok);
      if (ok && shown >= startNs) {
        return static_cast<double>(shown - startNs) / 1e6;
      }
    }
  }
  return std::nullopt;
}

} // namespace

WindowLook readWindowLook(const QByteArray &printed) {
  WindowLook look;
  for (const QByteArray &line : printed.split('\n')) {
    const qsizetype space = line.indexOf(' ');
    const QByteArray key = line.left(space);
    const QString value = QString::fromUtf8(line.mid(space + 1));
    if (key == "window") {
      look.size = QSize(value.section(u' ', 0, 0).toInt(), value.section(u' ', 1, 1).toInt());
    } else if (key == "window-font") {
      look.windowFont = value;
    } else if (key == "editor-font") {
      look.editorFont = value;
    } else if (key == "menu") {
      look.menuTitles << value;
    } else if (key == "status") {
      look.statusTexts << value;
    }
  }
  if (look.size.isEmpty() || look.windowFont.isEmpty() || look.editorFont.isEmpty() ||
      look.menuTitles.isEmpty()) {
    throw Failure(QStringLiteral("start-up child printed \"%1\"").arg(QString::fromUtf8(printed)));
  }
  return look;
}

int startUpChild(int &argc, char **argv, const QString &iniFile) {
  QApplication app(argc, argv);
  QuitWhenShown quit;
  app.installEventFilter(&quit);
  giveUpLater();
  initialiseApplication(app);
  SilentUserInterface ui;
  const std::unique_ptr<MainWindow> window = createMainWindow(ui, {}, benchPaths(iniFile));
  if (!window) {
    std::fputs("kavrin's window could not be built\n", stderr);
    return 2;
  }
  window->show();
  const int code = QApplication::exec();
  if (!ui.messages.isEmpty()) {
    std::fprintf(stderr, "kavrin said: %s\n", ui.messages.first().toUtf8().constData());
    return 2;
  }
  // The bare windows are opened at this size, so that all paint as much.
  std::fputs(printedLook(*window).constData(), stdout);
  return code;
}

int bareStartUpChild(int &argc, char **argv, QSize size) {
  QApplication app(argc, argv);
  QuitWhenShown quit;
  app.installEventFilter(&quit);
  giveUpLater();
  QMainWindow window;
  window.setCentralWidget(new QPlainTextEdit(&window));
  window.setStatusBar(new QStatusBar(&window));
  window.resize(size.isEmpty() ? QSize(kWindowWidth, kWindowHeight) : size);
  window.show();
  return QApplication::exec();
}

int lookAlikeStartUpChild(int &argc, char **argv, const QString &lookFile) {
  const WindowLook look = readWindowLook(readFile(lookFile));
  QApplication app(argc, argv);
  QuitWhenShown quit;
  app.installEventFilter(&quit);
  giveUpLater();
  QFont font;
  font.fromString(look.windowFont);
  QApplication::setFont(font);
  QMainWindow window;
  auto *editor = new QPlainTextEdit(&window);
  font.fromString(look.editorFont);
  editor->setFont(font);
  window.setCentralWidget(editor);
  for (const QString &title : look.menuTitles) {
    window.menuBar()->addMenu(title);
  }
  auto *status = new QStatusBar(&window);
  status->showMessage(look.statusTexts.join(u' '));
  window.setStatusBar(status);
  window.resize(look.size);
  window.show();
  return QApplication::exec();
}

int memoryChild(int &argc, char **argv, const QString &iniFile, const QString &file) {
  QApplication app(argc, argv);
  initialiseApplication(app);
  SilentUserInterface ui;
  const std::unique_ptr<MainWindow> window = shownMainWindow(ui, benchPaths(iniFile));
  if (!file.isEmpty()) {
    window->feature<DocumentCommands>()->load(file);
    QCoreApplication::sendPostedEvents();
    window->editor().viewport()->repaint();
  }
  requireSilence(ui);
  const std::optional<long long> kib = peakMemoryKiB();
  std::printf("peak-kib %s\n", kib ? QByteArray::number(*kib).constData() : "n/a");
  return 0;
}

ChildResult runChild(const QStringList &args, const QProcessEnvironment &environment) {
  QProcess child;
  child.setProgram(QCoreApplication::applicationFilePath());
  child.setArguments(args);
  if (!environment.isEmpty()) {
    child.setProcessEnvironment(environment);
  }
  ChildResult result;
  const double cpuBefore = childrenCpuMs();
  const std::int64_t startNs = steadyNs();
  child.start();
  const bool finished = child.waitForFinished(kChildTimeoutMs);
  result.cpuMs = childrenCpuMs() - cpuBefore;
  const auto describe = [&](const QString &what) {
    return QStringLiteral("child %1 %2: %3")
        .arg(args.join(u' '), what, QString::fromLocal8Bit(child.readAllStandardError()).trimmed());
  };
  if (!finished) {
    const QString error = child.errorString();
    child.kill();
    child.waitForFinished();
    throw Failure(describe(QStringLiteral("did not finish (%1)").arg(error)));
  }
  if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
    throw Failure(describe(QStringLiteral("failed with exit code %1").arg(child.exitCode())));
  }
  result.output = child.readAllStandardOutput();
  result.shownMs = shownMsOf(result.output, startNs);
  return result;
}

} // namespace kavrin::bench
