// The program check kept current on a 1 MiB program of 40,000 lines with a
// finding each: a key typed, which only restarts the wait for a pause, and
// a check after a pause, of which only taking the text and applying the
// findings fall on the window's thread.
#include "app/main_window.h"
#include "basic/basic_tools.h"
#include "basic/kept_check.h"
#include "figures.h"
#include "logic/program_check.h"
#include "measure.h"
#include "sample_program.h"
#include "silent_ui.h"
#include "typing.h"
#include "widgets/panel_host.h"
#include "widgets/program_editor.h"
#include "widgets/result_panel.h"
#include "widgets/session.h"

#include <QAction>
#include <QThread>

namespace kavrin::bench {
namespace {

constexpr int kKeyWarmUps = 10;
constexpr int kKeySamples = 100;
constexpr int kChecks = 7;
constexpr int kClearings = 3;
// Longer than a reading of the program on its thread takes.
constexpr unsigned long kReadingMs = 1000;

// Lines 1 to 40,000, each referring to a line past them that is not there:
// one finding a line.
QString programOfFindings() {
  QString text;
  for (int i = 1; i <= kToolsProgramLines; ++i) {
    text +=
        QStringLiteral("%1 PRINT \"ｽｺｱ:\";SC:IF SC THEN %2\n").arg(i).arg(kToolsProgramLines + 1 + i % 1000);
  }
  return text;
}

Row keyFigure(MainWindow &window) {
  ProgramEditor &edit = window.editor();
  const QString text = edit.toPlainText();
  std::vector<double> middle, nearEnd;
  timeLettersAt(window, edit.textLength() / 2, kKeyWarmUps, kKeySamples, middle);
  timeLettersAt(window, std::max(edit.textLength() - kNearEndChars, 0), kKeyWarmUps, kKeySamples, nearEnd);
  if (edit.toPlainText() != text) {
    throw Failure(QStringLiteral("the keys and their Backspaces changed the text"));
  }
  dump("kept-check key ms, middle", middle, 3);
  dump("kept-check key ms, near end", nearEnd, 3);
  const double worst = std::max(median(middle), median(nearEnd));
  return {QStringLiteral("key with the check kept current, 1 MiB document, %1 findings, with its repaint")
              .arg(kToolsProgramLines),
          QStringLiteral("<= 1 ms"),
          QStringLiteral("%1 ms (middle %2, near end %3, p90 %4)")
              .arg(fixed(worst, 3), fixed(median(middle), 3), fixed(median(nearEnd), 3),
                   fixed(percentile(joined(middle, nearEnd), 0.9), 3)),
          verdict(worst, 1.0, 3)};
}

// The time a check after a pause takes of the window's thread.
double windowThreadMs(MainWindow &window, basic::KeptCheck &kept) {
  const double taking = millisecondsOf([&] { kept.run(); });
  QThread::msleep(kReadingMs);
  return taking + settledMs(&window.editor(), [&] { kept.finish(); });
}

// A new text without findings: every row goes.
Row clearingFigure(MainWindow &window, const QString &program) {
  basic::BasicTools &tools = *window.feature<basic::BasicTools>();
  std::vector<double> ms;
  for (int i = 0; i < kClearings; ++i) {
    window.editor().setText(program);
    windowThreadMs(window, *tools.keptCheck());
    window.editor().setText(QStringLiteral("10 END\n"));
    ms.push_back(windowThreadMs(window, *tools.keptCheck()));
    if (window.findChild<PanelHost *>()->existing()->rows(ResultTab::Check).rowCount() != 0) {
      throw Failure(QStringLiteral("the kept check kept rows of the old text"));
    }
  }
  return msRow(
      QStringLiteral("check of a new text, %1 findings gone: window's thread").arg(kToolsProgramLines), ms,
      "kept check of a new text, window's thread ms", 50);
}

// The window's thread: the text taken, then, once read, the findings
// applied and the lines on screen repainted with their marks.  Each check
// follows a line break added or taken back at the top, so that every row
// changes.
std::vector<Row> checkFigures(MainWindow &window) {
  basic::BasicTools &tools = *window.feature<basic::BasicTools>();
  basic::KeptCheck &kept = *tools.keptCheck();
  const QString text = window.editor().toPlainText();
  const basic::KeywordMatcher keywords(window.session().keywords());
  std::vector<double> windowMs, readingMs;
  for (int i = 0; i < kChecks; ++i) {
    // A line break at the top, then taken back: every row's line changes.
    window.editor().setSelStart(0);
    tapKey(window, i % 2 == 0 ? Qt::Key_Return : Qt::Key_Delete);
    windowMs.push_back(windowThreadMs(window, kept));
    readingMs.push_back(millisecondsOf([&] { (void)basic::checkProgram(text, keywords); }));
  }
  if (window.findChild<PanelHost *>()->existing()->rows(ResultTab::Check).rowCount() != kToolsProgramLines) {
    throw Failure(QStringLiteral("the kept check did not list a finding a line"));
  }
  return {msRow(QStringLiteral("check after a pause, 1 MiB program, %1 findings: window's thread")
                    .arg(kToolsProgramLines),
                windowMs, "kept check, window's thread ms", 50),
          msRow(QStringLiteral("  the same check's reading, on its own thread"), readingMs,
                "kept check, reading ms", 1000)};
}

} // namespace

std::vector<Row> keptCheckFigures(const Workspace &work) {
  SilentUserInterface ui;
  const std::unique_ptr<MainWindow> window = typingMainWindow(ui, work.settings.none);
  const QString program = programOfFindings();
  window->editor().setText(program);
  window->command("checkProgram")->trigger();
  window->activateWindow();
  window->editor().setFocus();
  settle();
  std::vector<Row> rows = checkFigures(*window);
  progress("typing with the check kept current");
  rows.push_back(keyFigure(*window));
  rows.push_back(clearingFigure(*window, program));
  window->editor().setModified(false);
  requireSilence(ui);
  return rows;
}

} // namespace kavrin::bench
