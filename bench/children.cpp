#include "children.h"

#include "app/application.h"
#include "app/tform1.h"
#include "measure.h"
#include "platform/rich_edit.h"
#include "silent_ui.h"

#include <QApplication>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

#include <cstdio>

namespace kavrin::bench {
namespace {

// The client size kavrin opens at, so that both windows paint as much.
constexpr int kWindowWidth = 544;
constexpr int kWindowHeight = 375;

// A child that never gets its window shown must not hang the run.
constexpr int kGiveUpMs = 20'000;

// Watches every event of the application for the first expose of a window.
class QuitWhenShown : public QObject {
protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (!seen_ && event->type() == QEvent::Expose && watched->isWindowType() &&
        static_cast<QWindow *>(watched)->isExposed()) {
      seen_ = true;
      // Queued, so the expose is handled and the window painted first.
      QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    }
    return false;
  }

private:
  bool seen_ = false;
};

void giveUpLater() {
  QTimer::singleShot(kGiveUpMs, qApp, [] {
    std::fputs("window was never shown\n", stderr);
    QCoreApplication::exit(3);
  });
}

} // namespace

int startUpChild(int &argc, char **argv, bool kavrinWindow) {
  QApplication app(argc, argv);
  QuitWhenShown quit;
  app.installEventFilter(&quit);
  giveUpLater();
  if (kavrinWindow) {
    initialiseApplication(app);
    SilentUserInterface ui;
    const std::unique_ptr<TForm1> form = createMainWindow(ui, {});
    if (!form) {
      std::fputs("kavrin's window could not be built\n", stderr);
      return 2;
    }
    form->show();
    return QApplication::exec();
  }
  QMainWindow window;
  window.setCentralWidget(new QPlainTextEdit(&window));
  window.setStatusBar(new QStatusBar(&window));
  window.resize(kWindowWidth, kWindowHeight);
  window.show();
  return QApplication::exec();
}

int memoryChild(int &argc, char **argv, const QString &file) {
  QApplication app(argc, argv);
  initialiseApplication(app);
  SilentUserInterface ui;
  const std::unique_ptr<TForm1> form = shownMainWindow(ui);
  if (!file.isEmpty()) {
    form->LoadFile(file);
    QCoreApplication::sendPostedEvents();
    form->RichEdit1->viewport()->repaint();
  }
  if (!ui.messages.isEmpty()) {
    throw Failure(QStringLiteral("kavrin said: ") + ui.messages.first());
  }
  const std::optional<long long> kib = peakMemoryKiB();
  std::printf("peak-kib %s\n", kib ? QByteArray::number(*kib).constData() : "n/a");
  return 0;
}

} // namespace kavrin::bench
