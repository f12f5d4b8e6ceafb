// The BASIC program tools on a 1 MiB program of 40,000 lines: renumber,
// sort, the check and moving lines as units, and sort as the user waits for
// it, the editor's text replaced.
#include "app/main_window.h"
#include "basic/basic_tools.h"
#include "basic/text_edits.h"
#include "figures.h"
#include "logic/move_lines.h"
#include "logic/program_check.h"
#include "logic/renumber.h"
#include "logic/sort_lines.h"
#include "measure.h"
#include "platform/cp932.h"
#include "sample_program.h"
#include "silent_ui.h"
#include "widgets/program_editor.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <functional>

#include <random>

namespace kavrin::bench {

// Short lines full of references, numbered 10, 20, ... or shuffled.  So
// many lines fit under the largest line number only when renumbered by 1.
QString toolsProgram(bool shuffled) {
  std::mt19937 random(6001);
  const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const auto target = [&pick] { return (pick(kToolsProgramLines) + 1) * 10; };
  std::vector<int> numbers(kToolsProgramLines);
  for (int i = 0; i < kToolsProgramLines; ++i) {
    numbers[static_cast<std::size_t>(i)] = (i + 1) * 10;
  }
  if (shuffled) {
    std::shuffle(numbers.begin(), numbers.end(), random);
  }
  QString text;
  for (const int n : numbers) {
    switch (pick(6)) {
    case 0:
      text += QStringLiteral("%1 GOTO %2\n").arg(n).arg(target());
      break;
    case 1:
      text += QStringLiteral("%1 IF A>%2 THEN %3\n").arg(n).arg(pick(99)).arg(target());
      break;
    case 2:
      text += QStringLiteral("%1 ON X GOSUB %2,%3\n").arg(n).arg(target()).arg(target());
      break;
    case 3:
      text += QStringLiteral("%1 PRINT \"ｽｺｱ:\";SC;\" HI:\";HS\n").arg(n);
      break;
    case 4:
      text += QStringLiteral("%1 REM 敵が現れた！\n").arg(n);
      break;
    default:
      text += QStringLiteral("%1 X=X+%2:Y=Y-1\n").arg(n).arg(pick(9));
      break;
    }
  }
  return text;
}

namespace {

constexpr int kRuns = 7;

QString sizeOf(const QString &program) {
  return QStringLiteral("%1 KiB, %2 lines")
      .arg(cp932::encode(program).bytes.size() / 1024)
      .arg(kToolsProgramLines);
}

std::vector<Row> unitFigures(const QString &ordered, const QString &shuffled) {
  std::vector<double> renumberMs, sortMs, checkMs;
  for (int i = 0; i < kRuns; ++i) {
    basic::RenumberResult renumbered;
    renumberMs.push_back(millisecondsOf([&] { renumbered = basic::renumber(ordered, {1, 1, {}, {}}, {}); }));
    if (!renumbered.error.isEmpty() || renumbered.renumbered != kToolsProgramLines) {
      throw Failure(QStringLiteral("renumber failed: ") + renumbered.error);
    }
    basic::SortResult sorted;
    sortMs.push_back(millisecondsOf([&] { sorted = basic::sortLines(shuffled); }));
    if (!sorted.changed) {
      throw Failure(QStringLiteral("the shuffled program did not sort"));
    }
    std::vector<basic::Finding> findings;
    checkMs.push_back(millisecondsOf([&] { findings = basic::checkProgram(shuffled); }));
  }
  const QString size = sizeOf(ordered);
  return {msRow(QStringLiteral("renumber (") + size + u')', renumberMs, "renumber ms", 50),
          msRow(QStringLiteral("sort (") + size + u')', sortMs, "sort ms", 50),
          msRow(QStringLiteral("program check (") + size + u')', checkMs, "check ms", 50)};
}

// A tool as the user waits for it, from `program` to the new text on screen,
// against a bare QPlainTextEdit replacing its text with `transform`'s as one
// undo step: most of the time is the editor's own, which no command can avoid.
Row againstBareEditor(const Workspace &work, const QString &figure, const QString &program,
                      const std::function<void(MainWindow &)> &command,
                      const std::function<QString(const QString &)> &transform) {
  SilentUserInterface ui;
  const std::unique_ptr<MainWindow> window = shownMainWindow(ui, benchPaths(work.settings.none));
  QPlainTextEdit bare;
  bare.resize(window->editor().size());
  bare.show();
  waitUntilExposed(&bare);
  std::vector<double> kavrinMs, bareMs, ratios;
  for (int i = 0; i < kRuns; ++i) {
    window->editor().setText(program);
    bare.setPlainText(program);
    QCoreApplication::processEvents();
    kavrinMs.push_back(settledMs(&window->editor(), [&] { command(*window); }));
    bareMs.push_back(settledMs(&bare, [&] {
      QTextCursor all(bare.document());
      all.select(QTextCursor::Document);
      all.insertText(transform(bare.toPlainText()));
    }));
    ratios.push_back(kavrinMs.back() / bareMs.back());
    ui.messages.clear(); // the command's own report
  }
  window->editor().setModified(false);
  dump(figure + QStringLiteral(", kavrin ms"), kavrinMs);
  dump(figure + QStringLiteral(", bare ms"), bareMs);
  const double ratio = median(ratios);
  return {figure + QStringLiteral(", kavrin / bare QPlainTextEdit (ratio)"), QStringLiteral("<= 1.15"),
          QStringLiteral("%1 (%2 ms / %3 ms)")
              .arg(fixed(ratio, 2), fixed(median(kavrinMs), 1), fixed(median(bareMs), 1)),
          verdict(ratio, 1.15, 2)};
}

} // namespace

std::vector<Row> moveLinesFigures(const Workspace &work) {
  constexpr int kMoved = 1000;
  const QString ordered = toolsProgram(false);
  // The last lines go to the top, between the first ones: every line in
  // between moves down.
  const basic::MoveRequest request{kToolsProgramLines - kMoved, kToolsProgramLines - 1, 15, 10};
  std::vector<double> ms;
  for (int i = 0; i < kRuns; ++i) {
    basic::MoveResult moved;
    ms.push_back(millisecondsOf([&] { moved = basic::moveLines(ordered, request, {}); }));
    if (!moved.error.isEmpty()) {
      throw Failure(QStringLiteral("moving lines failed: ") + moved.error);
    }
  }
  // In the editor, moving the last lines to the top changes every line
  // between: nearly all of it is Qt's own work on 1 MiB of text.
  const Row inEditor = againstBareEditor(
      work, QStringLiteral("move the last 1000 lines to the top in the editor"), ordered,
      [&](MainWindow &window) {
        const basic::MoveResult moved = basic::moveLines(window.editor().text(), request, {});
        basic::replaceText(window.editor(), ordered, moved.text, moved.newLineOf, moved.firstLine);
      },
      [&](const QString &text) { return basic::moveLines(text, request, {}).text; });
  return {msRow(QStringLiteral("move %1 lines (%2)").arg(kMoved).arg(sizeOf(ordered)), ms, "move ms", 100),
          inEditor};
}

std::vector<Row> basicToolsFigures(const Workspace &work) {
  const QString ordered = toolsProgram(false);
  const QString shuffled = toolsProgram(true);
  std::vector<Row> rows = unitFigures(ordered, shuffled);
  rows.push_back(againstBareEditor(
      work, QStringLiteral("sort command, every line moved"), shuffled,
      [](MainWindow &window) { window.findChild<basic::BasicTools *>()->sortProgram(); },
      [](const QString &text) { return basic::sortLines(text).text; }));
  return rows;
}

} // namespace kavrin::bench
