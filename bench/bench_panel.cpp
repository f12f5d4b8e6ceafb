// Walking the result panel's rows with F8 in a 1 MiB program of 40,000
// lines with a check row on each, as the user waits: the row found, the line
// selected, the editor painted.
#include "app/main_window.h"
#include "basic/panel_commands.h"
#include "figures.h"
#include "measure.h"
#include "sample_program.h"
#include "silent_ui.h"
#include "widgets/panel_host.h"
#include "widgets/program_editor.h"
#include "widgets/result_panel.h"

#include <QCoreApplication>
#include <QTextBlock>

namespace kavrin::bench {
namespace {

constexpr int kRuns = 9;

} // namespace

std::vector<Row> panelFigures(const Workspace &work) {
  SilentUserInterface ui;
  const std::unique_ptr<MainWindow> window = shownMainWindow(ui, benchPaths(work.settings.none));
  ProgramEditor &editor = window->editor();
  editor.setText(toolsProgram(false));
  QList<ResultRow> rows;
  for (int line = 0; line < kToolsProgramLines; ++line) {
    rows.push_back({QStringLiteral("指摘"), line, std::nullopt});
  }
  ResultPanel *panel = window->findChild<PanelHost *>()->panel();
  panel->present(ResultTab::Check, rows, QString());
  panel->showTab(ResultTab::Check);
  // From the middle of the program: every row is weighed.
  editor.setTextCursor(QTextCursor(editor.document()->findBlockByNumber(kToolsProgramLines / 2)));
  panel->setCurrentRow(ResultTab::Check, kToolsProgramLines / 2); // as after a first F8 there
  QCoreApplication::processEvents();
  auto *commands = window->findChild<basic::PanelCommands *>();
  std::vector<double> stepMs;
  for (int i = 0; i < kRuns; ++i) {
    const int before = editor.textCursor().blockNumber();
    stepMs.push_back(settledMs(&editor, [&] { commands->nextResult(); }));
    if (editor.textCursor().blockNumber() != before + 1) {
      throw Failure(QStringLiteral("F8 did not go to the next line"));
    }
  }
  requireSilence(ui);
  editor.setModified(false);
  return {msRow(QStringLiteral("F8 to the next of 40,000 check rows (1 MiB)"), stepMs, "F8 ms", 20)};
}

} // namespace kavrin::bench
