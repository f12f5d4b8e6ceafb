// Keyword colours on a 1 MiB program: loading it into an editor that colours
// the lines on screen, against a bare QPlainTextEdit of the same size, and a
// key typed into it.  Lines off screen are never coloured, so neither may
// grow with the text.
#include "app/main_window.h"
#include "basic/basic_tools.h"
#include "figures.h"
#include "measure.h"
#include "platform/cp932.h"
#include "silent_ui.h"
#include "typing.h"
#include "widgets/program_editor.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

#include <algorithm>
#include <functional>
#include <iterator>

namespace kavrin::bench {
namespace {

constexpr qsizetype kProgramBytes = 1024 * 1024;
constexpr int kLoadPairs = 9;
constexpr int kKeyWarmUps = 10;
constexpr int kKeySamples = 100;

// A program of kProgramBytes in Shift-JIS with about 40,000 lines: the
// sample's lines, each followed by a short one, as in most programs.
QString denseProgram(const QByteArray &sample) {
  const QString kShort[] = {QStringLiteral("RETURN"), QStringLiteral("NEXT I"), QStringLiteral("END"),
                            QStringLiteral("CLS"), QStringLiteral("GOTO 100")};
  const QStringList lines = cp932::decode(sample).split(u'\n', Qt::SkipEmptyParts);
  QString program;
  qsizetype bytes = 0;
  for (qsizetype i = 0;; ++i) {
    const QString &source = lines[i / 2 % lines.size()];
    const QString body =
        i % 2 == 0 ? source.mid(source.indexOf(u' ') + 1) : kShort[i / 2 % std::size(kShort)];
    const QString line = QString::number((i + 1) * 10) + u' ' + body + u'\n';
    bytes += cp932::encode(line).bytes.size() + 1; // CR LF on disk
    if (bytes > kProgramBytes) {
      return program;
    }
    program += line;
  }
}

Row loadFigure(ProgramEditor &edit, QPlainTextEdit &bare, const QString &text) {
  const auto loadColoured = [&] { return settledMs(&edit, [&] { edit.setText(text); }); };
  const auto loadBare = [&] { return settledMs(&bare, [&] { bare.setPlainText(text); }); };
  const auto empty = [&] {
    edit.setText(QString());
    bare.clear();
    QCoreApplication::processEvents();
  };
  const PairedTimes times = timePairs(kLoadPairs, loadColoured, loadBare, empty);
  const double ratio = median(times.ratios);
  return {
      QStringLiteral("load 1 MiB file of %1 lines with keyword colours, kavrin / bare QPlainTextEdit (ratio)")
          .arg(text.count(u'\n')),
      QStringLiteral("<= 1.15"),
      QStringLiteral("%1 (%2 ms / %3 ms)")
          .arg(fixed(ratio, 2), fixed(median(times.kavrinMs), 1), fixed(median(times.bareMs), 1)),
      verdict(ratio, 1.15, 2)};
}

Row keyFigure(MainWindow &window, const QString &text) {
  ProgramEditor &edit = window.editor();
  edit.setText(text);
  settle();
  std::vector<double> middle, nearEnd;
  timeLettersAt(window, edit.textLength() / 2, kKeyWarmUps, kKeySamples, middle);
  timeLettersAt(window, std::max(edit.textLength() - kNearEndChars, 0), kKeyWarmUps, kKeySamples, nearEnd);
  if (edit.toPlainText() != text) {
    throw Failure(QStringLiteral("the keys and their Backspaces changed the text"));
  }
  dump("key ms, middle", middle, 3);
  dump("key ms, near end", nearEnd, 3);
  const double worst = std::max(median(middle), median(nearEnd));
  return {QStringLiteral("key with keyword colours, 1 MiB document, with its repaint"),
          QStringLiteral("<= 1 ms"),
          QStringLiteral("%1 ms (middle %2, near end %3, p90 %4)")
              .arg(fixed(worst, 3), fixed(median(middle), 3), fixed(median(nearEnd), 3),
                   fixed(percentile(joined(middle, nearEnd), 0.9), 3)),
          verdict(worst, 1.0, 3)};
}

} // namespace

std::vector<Row> colourFigures(const Workspace &work) {
  const QString text = denseProgram(work.sample);
  SilentUserInterface ui;
  const std::unique_ptr<MainWindow> window = typingMainWindow(ui, work.settings.none);
  // As the user turns them on, with the mode's keyword list.
  window->command("keywordColours")->trigger();
  if (!window->editor().colouring()) {
    throw Failure(QStringLiteral("keyword colours did not turn on"));
  }
  QPlainTextEdit bare;
  bare.resize(window->editor().size());
  bare.show();
  waitUntilExposed(&bare);
  std::vector<Row> rows{loadFigure(window->editor(), bare, text)};
  bare.hide();
  window->activateWindow();
  window->editor().setFocus();
  progress("typing with keyword colours");
  rows.push_back(keyFigure(*window, text));
  requireSilence(ui);
  return rows;
}

} // namespace kavrin::bench
