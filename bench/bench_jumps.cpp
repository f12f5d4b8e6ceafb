// Following jumps in a 1 MiB program of 40,000 lines, as the user waits for
// them: F12 from a reference to its line, Shift+F12 to the list of the lines
// that refer to a line, each until the editor has painted.
#include "app/main_window.h"
#include "basic/jump_commands.h"
#include "figures.h"
#include "measure.h"
#include "sample_program.h"
#include "silent_ui.h"
#include "widgets/program_editor.h"

#include <QCoreApplication>
#include <QTextBlock>

namespace kavrin::bench {
namespace {

constexpr int kRuns = 9;

} // namespace

std::vector<Row> jumpFigures(const Workspace &work) {
  SilentUserInterface ui;
  const std::unique_ptr<MainWindow> window = shownMainWindow(ui, benchPaths(work.settings.none));
  auto *jumps = window->findChild<basic::JumpCommands *>();
  ProgramEditor &editor = window->editor();
  editor.setText(toolsProgram(false));
  // A GOTO near the end, to a line near the start: the longest way.
  const QString goTo = QStringLiteral(" GOTO ");
  QTextBlock from = editor.document()->lastBlock();
  while (!from.text().contains(goTo)) {
    from = from.previous();
  }
  const int referenceAt = static_cast<int>(from.text().indexOf(goTo) + goTo.size());
  std::vector<double> jumpMs, listMs;
  for (int i = 0; i < kRuns; ++i) {
    QTextCursor caret(from);
    caret.setPosition(from.position() + referenceAt);
    editor.setTextCursor(caret);
    QCoreApplication::processEvents();
    jumpMs.push_back(settledMs(&editor, [&] { jumps->jumpToReference(); }));
    if (editor.textCursor().block() == from) {
      throw Failure(QStringLiteral("F12 did not jump"));
    }
    // The caret now stands on a line that is referred to.
    listMs.push_back(settledMs(&editor, [&] { jumps->showReferences(); }));
    requireSilence(ui);
  }
  editor.setModified(false);
  return {msRow(QStringLiteral("F12 to a referenced line (1 MiB, 40,000 lines)"), jumpMs, "F12 ms", 20),
          msRow(QStringLiteral("Shift+F12 list of referring lines (1 MiB, 40,000 lines)"), listMs,
                "Shift+F12 ms", 20)};
}

} // namespace kavrin::bench
