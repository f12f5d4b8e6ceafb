#include "typing.h"

#include "app/main_window.h"
#include "document/document_commands.h"
#include "editing/typing_aids.h"
#include "measure.h"
#include "sample_program.h"
#include "widgets/program_editor.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>
#include <QTextBlock>

#include <algorithm>

namespace kavrin::bench {

void sendKey(MainWindow &window, Qt::Key key, QEvent::Type type) {
  QString text;
  switch (key) {
  case Qt::Key_Tab:
    text = QStringLiteral("\t");
    break;
  case Qt::Key_Backspace:
    text = QStringLiteral("\b");
    break;
  case Qt::Key_Escape:
    text = QStringLiteral("\x1b");
    break;
  case Qt::Key_Return:
    text = QStringLiteral("\r");
    break;
  default:
    break;
  }
  qt_handleKeyEvent(window.windowHandle(), type, key, Qt::NoModifier, text);
}

double settle() {
  return millisecondsOf([] { QCoreApplication::sendPostedEvents(); });
}

void tapKey(MainWindow &window, Qt::Key key) {
  sendKey(window, key, QEvent::KeyPress);
  sendKey(window, key, QEvent::KeyRelease);
  settle();
}

std::unique_ptr<MainWindow> typingMainWindow(UserInterface &ui, const QString &iniFile) {
  std::unique_ptr<MainWindow> window = shownMainWindow(ui, benchPaths(iniFile));
  window->editor().setFocus();
  QCoreApplication::processEvents();
  if (window->focusWidget() != &window->editor()) {
    throw Failure(QStringLiteral("the editor does not have the focus"));
  }
  return window;
}

// Times `samples` letters typed into the middle of a line near `pos`, each
// with the repaint that shows it coloured; each is taken back untimed.
void timeLettersAt(MainWindow &window, int pos, int warmUps, int samples, std::vector<double> &ms) {
  ProgramEditor &edit = window.editor();
  const QTextBlock line = edit.document()->findBlock(pos);
  edit.setSelStart(line.position() + line.length() / 2);
  edit.ensureCursorVisible();
  settle();
  const int length = edit.textLength();
  for (int i = 0; i < warmUps + samples; ++i) {
    const double key = millisecondsOf([&] {
      qt_handleKeyEvent(window.windowHandle(), QEvent::KeyPress, Qt::Key_A, Qt::NoModifier,
                        QStringLiteral("A"));
      QCoreApplication::sendPostedEvents();
    });
    qt_handleKeyEvent(window.windowHandle(), QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier,
                      QStringLiteral("A"));
    settle();
    if (edit.textLength() != length + 1) {
      throw Failure(QStringLiteral("the key typed nothing"));
    }
    tapKey(window, Qt::Key_Backspace);
    if (i >= warmUps) {
      ms.push_back(key);
    }
  }
}

std::vector<double> joined(std::vector<double> a, const std::vector<double> &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Row keyRow(const QString &figure, const std::vector<double> &middle, const std::vector<double> &nearEnd,
           const std::vector<double> &repaints) {
  const double worst = std::max(median(middle), median(nearEnd));
  return {figure, QStringLiteral("<= 1 ms"),
          QStringLiteral("%1 ms (middle %2, near end %3, p90 %4; then repaint %5)")
              .arg(fixed(worst, 3), fixed(median(middle), 3), fixed(median(nearEnd), 3),
                   fixed(percentile(joined(middle, nearEnd), 0.9), 3), fixed(median(repaints), 3)),
          verdict(worst, 1.0, 3)};
}

std::vector<KeyDocument> writeKeyDocuments(const QDir &dir, const QString &prefix) {
  std::vector<KeyDocument> documents{{QStringLiteral("1 MiB"), 1024 * 1024, {}},
                                     {QStringLiteral("64 KiB"), 64 * 1024, {}}};
  for (KeyDocument &document : documents) {
    document.path = dir.filePath(QStringLiteral("%1-%2.txt").arg(prefix).arg(document.bytes));
    writeFile(document.path, makeSampleProgram(document.bytes));
  }
  return documents;
}

void measureInRounds(MainWindow &window, const std::vector<KeyDocument> &documents, int rounds,
                     const std::function<void(std::size_t document, int pos, bool nearEnd)> &measureAt) {
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t i = 0; i < documents.size(); ++i) {
      const std::size_t document = (static_cast<std::size_t>(round) + i) % documents.size();
      // Each round starts from the file, with an empty undo history and no
      // completion cycle, so that the edits of one do not pile up in the next.
      window.feature<TypingAids>()->completion().CompActive = false;
      window.feature<DocumentCommands>()->load(documents[document].path);
      settle();
      const int length = window.editor().textLength();
      measureAt(document, length / 2, false);
      measureAt(document, std::max(length - kNearEndChars, 0), true);
    }
  }
}

} // namespace kavrin::bench
