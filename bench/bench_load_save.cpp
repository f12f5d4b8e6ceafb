// Loading the 4 MiB sample into kavrin's window, against a bare
// QPlainTextEdit of the same size, and saving it again.
#include "app/main_window.h"
#include "document/document_commands.h"
#include "figures.h"
#include "measure.h"
#include "platform/cp932.h"
#include "silent_ui.h"
#include "widgets/program_editor.h"

#include <QCoreApplication>
#include <QPlainTextEdit>

#include <functional>

namespace kavrin::bench {
namespace {

constexpr int kLoadPairs = 9;
constexpr int kSaveRuns = 10;

Row loadFigure(MainWindow &window, QPlainTextEdit &bare, const QString &path, const QByteArray &sample) {
  const QString text = cp932::decode(sample);
  const auto loadKavrin = [&] {
    return settledMs(&window.editor(), [&] { window.feature<DocumentCommands>()->load(path); });
  };
  const auto loadBare = [&] { return settledMs(&bare, [&] { bare.setPlainText(text); }); };
  // Each load starts from an empty editor, as right after start-up.
  const auto empty = [&] {
    window.editor().setText(QString());
    bare.clear();
    QCoreApplication::processEvents();
  };

  const PairedTimes times = timePairs(kLoadPairs, loadKavrin, loadBare, empty);
  const double ratio = median(times.ratios);
  return {QStringLiteral("load 4 MiB file, kavrin / bare QPlainTextEdit (ratio)"), QStringLiteral("<= 1.15"),
          QStringLiteral("%1 (%2 ms / %3 ms)")
              .arg(fixed(ratio, 2), fixed(median(times.kavrinMs), 1), fixed(median(times.bareMs), 1)),
          verdict(ratio, 1.15, 2)};
}

Row saveFigure(MainWindow &window, const QString &path, const QByteArray &sample) {
  window.feature<DocumentCommands>()->load(path);
  window.feature<DocumentCommands>()->save();
  std::vector<double> saveMs;
  for (int i = 0; i < kSaveRuns; ++i) {
    saveMs.push_back(millisecondsOf([&] { window.feature<DocumentCommands>()->save(); }));
  }
  if (readFile(path) != sample) {
    throw Failure(QStringLiteral("the saved file differs from the one loaded"));
  }
  dump("ms", saveMs);
  const double save = median(saveMs);
  return {QStringLiteral("save 4 MiB file"), QStringLiteral("<= 100 ms"),
          fixed(save, 1) + QStringLiteral(" ms"), verdict(save, 100.0, 1)};
}

} // namespace

std::vector<Row> loadSaveFigures(const Workspace &work) {
  SilentUserInterface ui;
  const std::unique_ptr<MainWindow> window = shownMainWindow(ui, benchPaths(work.settings.none));
  QPlainTextEdit bare;
  bare.resize(window->editor().size());
  bare.show();
  waitUntilExposed(&bare);
  std::vector<Row> rows{loadFigure(*window, bare, work.samplePath, work.sample)};
  requireSilence(ui);
  progress("saving");
  rows.push_back(saveFigure(*window, work.samplePath, work.sample));
  requireSilence(ui);
  return rows;
}

} // namespace kavrin::bench
