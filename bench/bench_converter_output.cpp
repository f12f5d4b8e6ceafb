// Decoding 10,000 lines of converter output and finding the lines they name,
// in this process; then the whole of what the user waits for: the same
// lines decoded, linked and appended to the result panel's 変換の出力 tab,
// the panel shown and painted.
#include "app/main_window.h"
#include "convert/convert_command.h"
#include "figures.h"
#include "logic/converter_output.h"
#include "logic/output_line_numbers.h"
#include "measure.h"
#include "platform/cp932.h"
#include "sample_program.h"
#include "silent_ui.h"
#include "widgets/panel_host.h"
#include "widgets/program_editor.h"
#include "widgets/result_panel.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QListView>

#include <algorithm>

namespace kavrin::bench {
namespace {

constexpr int kOutputLines = 10000;
constexpr qsizetype kPieceBytes = 4096;
constexpr int kOutputRuns = 20;
constexpr int kPanelRuns = 9;

// UTF-8, Shift-JIS and ASCII lines in turn, most of them naming a line.
QByteArray sampleOutput() {
  QByteArray output;
  for (int i = 0; i < kOutputLines; ++i) {
    const QString number = QString::number(10 * (i % 6000) + 10);
    switch (i % 3) {
    case 0:
      output += (number + QStringLiteral("行目: 文法エラーがあります\n")).toUtf8();
      break;
    case 1:
      output += cp932::encode(QStringLiteral("行 %1: 未定義の行番号への参照\r\n").arg(number)).bytes;
      break;
    default:
      output += "Syntax error in " + number.toLatin1() + " (converting, 12:30:45)\n";
    }
  }
  return output;
}

// The output read piece by piece as the converter's pipe gives it, each line
// decoded and linked to the line it names.
QList<OutputRow> decodeAndLink(const QByteArray &output) {
  QList<OutputRow> rows;
  ConverterOutputDecoder decoder;
  const OutputLineFinder finder;
  const auto take = [&](const DecodedOutput &decoded) {
    for (const QString &line : decoded.lines) {
      rows.append(finder.row(line));
    }
  };
  for (qsizetype at = 0; at < output.size(); at += kPieceBytes) {
    take(decoder.feed(QByteArrayView(output).sliced(at, std::min(kPieceBytes, output.size() - at))));
  }
  take(decoder.finish());
  return rows;
}

void requireAllLinked(const QList<OutputRow> &rows) {
  const auto linked =
      std::count_if(rows.begin(), rows.end(), [](const OutputRow &row) { return row.line.has_value(); });
  if (linked != kOutputLines) {
    throw Failure(QStringLiteral("%1 of the sample's output lines were linked, not all").arg(linked));
  }
}

// Notes the first paint of the widget it watches.
class PaintWatch : public QObject {
public:
  bool painted = false;

protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    painted = painted || event->type() == QEvent::Paint;
    return QObject::eventFilter(watched, event);
  }
};

// Runs the event loop until the watched widget has painted.
void waitForPaint(const PaintWatch &watch) {
  const QDeadlineTimer deadline(10000);
  while (!watch.painted) {
    if (deadline.hasExpired()) {
      throw Failure(QStringLiteral("the output tab was never painted"));
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
}

// Hidden, with an empty 変換の出力 tab, as before a first run.
void emptyAndHide(ResultPanel &panel) {
  panel.present(ResultTab::Output, {}, QString());
  panel.hide();
  QCoreApplication::processEvents();
}

// One measured run: the rows as the converter's output gives them, shown.
// Each row that names a line follows it in the 1 MiB program, as a run's do.
double showOutputMs(ResultPanel &panel, PaintWatch &watch, const QByteArray &output,
                    const ProgramEditor &editor) {
  watch.painted = false;
  return millisecondsOf([&] {
    const QList<OutputRow> rows = decodeAndLink(output);
    panel.append(ResultTab::Output, ConvertCommand::panelRows(rows, basic::ProgramLineIndex(editor.text())));
    panel.showTab(ResultTab::Output);
    waitForPaint(watch);
  });
}

Row panelRow(const Workspace &work, const QByteArray &output) {
  SilentUserInterface ui;
  const std::unique_ptr<MainWindow> window = shownMainWindow(ui, benchPaths(work.settings.none));
  window->editor().setText(toolsProgram(false));
  ResultPanel &panel = *window->findChild<PanelHost *>()->panel();
  PaintWatch watch;
  panel.view(ResultTab::Output)->viewport()->installEventFilter(&watch);
  std::vector<double> ms;
  for (int run = 0; run < kPanelRuns; ++run) {
    emptyAndHide(panel);
    ms.push_back(showOutputMs(panel, watch, output, window->editor()));
    if (panel.rows(ResultTab::Output).rowCount() != kOutputLines) {
      throw Failure(
          QStringLiteral("the output tab holds %1 rows").arg(panel.rows(ResultTab::Output).rowCount()));
    }
  }
  requireSilence(ui);
  return msRow(QStringLiteral("Showing 10,000 lines of converter output in the panel"), ms,
               "output in the panel ms", 200.0);
}

} // namespace

std::vector<Row> converterOutputFigures(const Workspace &work) {
  const QByteArray output = sampleOutput();
  std::vector<double> ms;
  for (int run = 0; run < kOutputRuns; ++run) {
    QList<OutputRow> rows;
    ms.push_back(millisecondsOf([&] { rows = decodeAndLink(output); }));
    requireAllLinked(rows);
  }
  return {msRow(QStringLiteral("Decoding and linking 10,000 lines of converter output"), ms,
                "converter output ms", 50.0),
          panelRow(work, output)};
}

} // namespace kavrin::bench
