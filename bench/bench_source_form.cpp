// The source form on 1 MiB: building the numbered program from a source of
// 40,000 lines, turning a numbered program of 40,000 lines into labels, and
// a key typed in the source with the check kept current.
#include "app/main_window.h"
#include "document/document_commands.h"
#include "figures.h"
#include "logic/keyword_matcher.h"
#include "logic/renumber.h"
#include "logic/source_form.h"
#include "measure.h"
#include "platform/cp932.h"
#include "sample_program.h"
#include "silent_ui.h"
#include "typing.h"
#include "widgets/program_editor.h"
#include "widgets/session.h"

#include <QAction>

namespace kavrin::bench {

namespace {

constexpr int kRuns = 7;
constexpr int kKeyWarmUps = 10;
constexpr int kKeySamples = 100;
constexpr int kLabels = 5000;
constexpr qsizetype kSourceBytes = 1024 * 1024;
// So many built lines fit under the largest line number only with a small
// step.
constexpr int kStep = 2;

// Eight source lines a label: the label, four program lines, two of them
// continued on the next line, and a comment line; three in eight are
// continuations or comments.  The comment lines pad the source to 1 MiB.
QString sourceBlock(int label, int padding) {
  const auto name = [](int n) { return QStringLiteral("*L%1").arg((n % kLabels) + 1); };
  QString block = name(label) + u'\n';
  block +=
      QStringLiteral("  IF A>%1 THEN %2 ELSE %3\n").arg(label % 97).arg(name(label * 7), name(label + 1));
  block += QStringLiteral("  PRINT \"SCORE\";SC:\n    X=X+1:Y=Y-1\t' move\n");
  block += QStringLiteral("' ") + QString(padding, u'-') + u'\n';
  block += QStringLiteral("  GOSUB %1\t' call\n").arg(name(label * 13));
  block += QStringLiteral("  ON X GOTO %1,%2,%3:\n").arg(name(label * 3), name(label * 5), name(label * 11));
  block += QStringLiteral("  A$=\"IT'S\":REM 敵が現れた\n");
  return block;
}

QString sourceProgram() {
  const qsizetype bare = cp932::encode(sourceBlock(kLabels - 1, 0)).bytes.size();
  const int padding = static_cast<int>(std::max<qsizetype>(0, kSourceBytes / kLabels - bare));
  QString text;
  for (int label = 0; label < kLabels; ++label) {
    text += sourceBlock(label, padding);
  }
  return text;
}

QString sizeOf(const QString &text) {
  return QStringLiteral("%1 KiB").arg(cp932::encode(text).bytes.size() / 1024);
}

// Letters typed into the source saved as a .bsrc file, with the check kept
// current: each restarts the wait for a pause, as in a numbered document.
Row keyFigure(const Workspace &work, const QString &source) {
  const QString path = work.dir.filePath(QStringLiteral("source.bsrc"));
  writeFile(path, cp932::encode(source).bytes);
  SilentUserInterface ui;
  const std::unique_ptr<MainWindow> window = typingMainWindow(ui, work.settings.none);
  window->feature<DocumentCommands>()->load(path);
  if (!window->session().sourceForm()) {
    throw Failure(QStringLiteral("the .bsrc file did not open as a source"));
  }
  window->command("checkProgram")->trigger();
  window->editor().setFocus();
  settle();
  ProgramEditor &edit = window->editor();
  std::vector<double> middle, nearEnd;
  timeLettersAt(*window, edit.textLength() / 2, kKeyWarmUps, kKeySamples, middle);
  timeLettersAt(*window, std::max(edit.textLength() - kNearEndChars, 0), kKeyWarmUps, kKeySamples, nearEnd);
  if (edit.toPlainText() != source) {
    throw Failure(QStringLiteral("the keys and their Backspaces changed the source"));
  }
  edit.setModified(false);
  requireSilence(ui);
  const double worst = std::max(median(middle), median(nearEnd));
  return {QStringLiteral("key in a 1 MiB source with the check kept current, with its repaint"),
          QStringLiteral("<= 1 ms"),
          QStringLiteral("%1 ms (middle %2, near end %3, p90 %4)")
              .arg(fixed(worst, 3), fixed(median(middle), 3), fixed(median(nearEnd), 3),
                   fixed(percentile(joined(middle, nearEnd), 0.9), 3)),
          verdict(worst, 1.0, 3)};
}

// ラベル形式に変換 as the user waits for it: the new text on screen.  Most of
// it is Qt replacing 1 MiB of text, as for any tool that changes every line.
Row labelCommandFigure(const Workspace &work, const QString &numbered) {
  SilentUserInterface ui;
  const std::unique_ptr<MainWindow> window = shownMainWindow(ui, benchPaths(work.settings.none));
  std::vector<double> ms;
  for (int i = 0; i < kRuns; ++i) {
    window->editor().setText(numbered);
    window->session().setSourceForm(false);
    ms.push_back(settledMs(&window->editor(), [&] { window->command("toLabelForm")->trigger(); }));
    if (!window->session().sourceForm()) {
      throw Failure(QStringLiteral("ラベル形式に変換 left a numbered document"));
    }
  }
  window->editor().setModified(false);
  requireSilence(ui);
  return msRow(
      QStringLiteral("ラベル形式に変換 in the window, the new text shown (%1)").arg(sizeOf(numbered)), ms,
      "label form command ms", 100);
}

} // namespace

std::vector<Row> sourceFormFigures(const Workspace &work) {
  const basic::KeywordMatcher keywords;
  const QString source = sourceProgram();
  std::vector<double> buildMs;
  for (int i = 0; i < kRuns; ++i) {
    basic::BuiltProgram built;
    buildMs.push_back(millisecondsOf([&] { built = basic::buildProgram(source, keywords, kStep); }));
    if (built.refused() || built.lineCount() != static_cast<size_t>(kLabels) * 4) {
      throw Failure(QStringLiteral("the source did not build: ") +
                    (built.refused() ? built.refusals.front().message : QString()));
    }
  }
  // Renumbered by 1, the tools program's 40,000 lines all fit the machine.
  const QString numbered = basic::renumber(toolsProgram(false), {1, 1, {}, {}}, {}).text;
  std::vector<double> labelMs;
  for (int i = 0; i < kRuns; ++i) {
    basic::LabelForm labelled;
    labelMs.push_back(millisecondsOf([&] { labelled = basic::toLabelForm(numbered, keywords); }));
    if (labelled.text.isEmpty()) {
      throw Failure(QStringLiteral("the label form was refused"));
    }
  }
  return {msRow(QStringLiteral("build a source of %1 lines, %2 labels (%3)")
                    .arg(kLabels * 8)
                    .arg(kLabels)
                    .arg(sizeOf(source)),
                buildMs, "source build ms", 50),
          msRow(QStringLiteral("label form of %1 numbered lines (%2)")
                    .arg(kToolsProgramLines)
                    .arg(sizeOf(numbered)),
                labelMs, "label form ms", 100),
          labelCommandFigure(work, numbered), keyFigure(work, source)};
}

} // namespace kavrin::bench
