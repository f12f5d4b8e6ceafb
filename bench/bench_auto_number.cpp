// RETURN with AUTO on, which starts the next numbered line, in a large and
// a small document; a RETURN that costs the same in any document keeps the
// ratio of the two near 1.
#include "app/main_window.h"
#include "figures.h"
#include "measure.h"
#include "silent_ui.h"
#include "typing.h"
#include "widgets/program_editor.h"
#include "widgets/session.h"

#include <QAction>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace kavrin::bench {
namespace {

// RETURN samples at each caret place, taken in rounds as for TAB.
constexpr int kReturnWarmUps = 10;
constexpr int kReturnSamples = 200;
constexpr int kReturnRounds = 4;
// One that grows with the text approaches 16, the ratio of the sizes.
constexpr double kMostReturnGrowth = 1.5;

// The line that RETURN ends, the same in every place and document, so that
// the document is the only difference.
const QString kNumberedLine = QStringLiteral("12345 PRINT X");
constexpr int kLineNumber = 12345;

struct ReturnTimes {
  std::vector<double> ms;
  // The repaint that follows each, timed apart from the key.
  std::vector<double> repaint;
};

// Times one RETURN at `caret`, the end of kNumberedLine, in a text of
// `length` characters, checks that it started line `next` and takes it back.
void timeReturn(MainWindow &window, int caret, int length, const QString &next, ReturnTimes *times) {
  ProgramEditor &edit = window.editor();
  const QTextDocument &document = *edit.document();
  const int lines = document.blockCount();
  const int added = 1 + static_cast<int>(next.size());
  const double ms = millisecondsOf([&] { sendKey(window, Qt::Key_Return, QEvent::KeyPress); });
  const double repaint = settle();
  sendKey(window, Qt::Key_Return, QEvent::KeyRelease);
  settle();
  if (edit.textLength() != length + added || edit.selStart() != caret + added ||
      document.findBlock(caret + added).text() != next) {
    throw Failure(QStringLiteral("RETURN did not start line %1").arg(next.trimmed()));
  }
  if (times != nullptr) {
    times->ms.push_back(ms);
    times->repaint.push_back(repaint);
  }
  window.command("undo")->trigger();
  settle();
  if (edit.textLength() != length || document.blockCount() != lines ||
      document.findBlock(caret).text() != kNumberedLine) {
    throw Failure(QStringLiteral("one undo did not take the RETURN back"));
  }
  if (edit.selStart() != caret || edit.selLength() != 0) {
    edit.setSelStart(caret);
    settle();
  }
}

// Puts kNumberedLine on a new line after the line holding `pos` and times
// `samples` RETURNs with the caret at its end.  Each is undone, outside the
// clock, before the next.
void measureReturnsAt(MainWindow &window, int pos, int samples, ReturnTimes &times) {
  ProgramEditor &edit = window.editor();
  const QTextBlock line = edit.document()->findBlock(pos);
  edit.setSelStart(line.position() + line.length() - 1);
  edit.setSelText(u'\n' + kNumberedLine);
  edit.ensureCursorVisible();
  settle();
  const int caret = edit.selStart();
  const int length = edit.textLength();
  const QString before = edit.toPlainText();
  // RETURN adds a line break and the start of the next numbered line.
  const QString next = QString::number(kLineNumber + window.session().preferences().autoIncrement) + u' ';
  for (int i = 0; i < kReturnWarmUps + samples; ++i) {
    timeReturn(window, caret, length, next, i >= kReturnWarmUps ? &times : nullptr);
  }
  if (edit.toPlainText() != before) {
    throw Failure(QStringLiteral("the RETURNs and their undos changed the text"));
  }
}

} // namespace

std::vector<Row> autoNumberFigures(const Workspace &work) {
  SilentUserInterface ui;
  const std::unique_ptr<MainWindow> window = typingMainWindow(ui, work.settings.none);
  window->command("auto")->setChecked(true);
  const std::vector<KeyDocument> documents = writeKeyDocuments(work.dir, QStringLiteral("auto-number"));
  struct Places {
    ReturnTimes middle;
    ReturnTimes nearEnd;
  };
  std::vector<Places> times(documents.size());
  measureInRounds(*window, documents, kReturnRounds, [&](std::size_t document, int pos, bool nearEnd) {
    measureReturnsAt(*window, pos, kReturnSamples / kReturnRounds,
                     nearEnd ? times[document].nearEnd : times[document].middle);
  });
  for (std::size_t d = 0; d < documents.size(); ++d) {
    const QString &name = documents[d].name;
    dump(QStringLiteral("RETURN ms, %1, middle").arg(name), times[d].middle.ms, 3);
    dump(QStringLiteral("its repaint ms, %1, middle").arg(name), times[d].middle.repaint, 3);
    dump(QStringLiteral("RETURN ms, %1, near end").arg(name), times[d].nearEnd.ms, 3);
    dump(QStringLiteral("its repaint ms, %1, near end").arg(name), times[d].nearEnd.repaint, 3);
  }
  requireSilence(ui);

  std::vector<Row> rows;
  std::vector<double> worst;
  for (std::size_t d = 0; d < documents.size(); ++d) {
    const Places &at = times[d];
    rows.push_back(keyRow(QStringLiteral("RETURN with AUTO on, %1 document").arg(documents[d].name),
                          at.middle.ms, at.nearEnd.ms, joined(at.middle.repaint, at.nearEnd.repaint)));
    worst.push_back(std::max(median(at.middle.ms), median(at.nearEnd.ms)));
  }
  const double growth = worst[0] / worst[1];
  rows.push_back({QStringLiteral("RETURN with AUTO on, 1 MiB / 64 KiB document (ratio)"),
                  QStringLiteral("<= %1").arg(fixed(kMostReturnGrowth, 2)), fixed(growth, 2),
                  verdict(growth, kMostReturnGrowth, 2)});
  return rows;
}

} // namespace kavrin::bench
