// A recovery copy of a 1 MiB program: what the window's thread spends on
// it, while the writer's thread builds and writes the copy.
#include "app/main_window.h"
#include "document/recovery_tool.h"
#include "figures.h"
#include "measure.h"
#include "platform/cp932.h"
#include "silent_ui.h"
#include "widgets/program_editor.h"

namespace kavrin::bench {
namespace {

constexpr qsizetype kProgramBytes = 1024 * 1024;
constexpr int kRuns = 15;

} // namespace

std::vector<Row> recoveryFigures(const Workspace &work) {
  SilentUserInterface ui;
  const std::unique_ptr<MainWindow> window = shownMainWindow(ui, benchPaths(work.settings.none));
  ProgramEditor &editor = window->editor();
  editor.setText(cp932::decode(work.sample.first(kProgramBytes)));
  editor.setModified(true);
  auto *tool = window->findChild<RecoveryTool *>();
  std::vector<double> uiMs, wholeMs;
  for (int i = 0; i < kRuns; ++i) {
    editor.moveCursor(QTextCursor::End);
    editor.insertPlainText(QStringLiteral("X")); // a change waiting for its copy
    wholeMs.push_back(millisecondsOf([&] {
      uiMs.push_back(millisecondsOf([&] { tool->writeNow(); }));
      if (const QString why = tool->finishWriting(); !why.isEmpty()) {
        throw Failure(QStringLiteral("the recovery copy was not written: ") + why);
      }
    }));
  }
  requireSilence(ui);
  dump(QStringLiteral("recovery copy, window's thread"), uiMs);
  dump(QStringLiteral("recovery copy, written"), wholeMs);
  const double measured = percentile(uiMs, 0.9);
  return {{QStringLiteral("recovery copy of 1 MiB: window's thread (90th percentile)"),
           QStringLiteral("<= 5 ms"), fixed(measured, 2) + QStringLiteral(" ms"), verdict(measured, 5.0, 2)},
          {QStringLiteral("recovery copy of 1 MiB: written and read back, on its own thread (median)"),
           QStringLiteral("-"), fixed(median(wholeMs), 1) + QStringLiteral(" ms"), QStringLiteral("-")}};
}

} // namespace kavrin::bench
