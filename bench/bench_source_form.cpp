// The source form on 1 MiB: building the numbered program from a source of
// 40,000 lines, and turning a numbered program of 40,000 lines into labels.
#include "figures.h"
#include "logic/keyword_matcher.h"
#include "logic/renumber.h"
#include "logic/source_form.h"
#include "measure.h"
#include "platform/cp932.h"
#include "sample_program.h"

namespace kavrin::bench {

namespace {

constexpr int kRuns = 7;
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

} // namespace

std::vector<Row> sourceFormFigures(const Workspace &) {
  const basic::KeywordMatcher keywords;
  const QString source = sourceProgram();
  std::vector<double> buildMs;
  for (int i = 0; i < kRuns; ++i) {
    basic::BuiltProgram built;
    buildMs.push_back(millisecondsOf([&] { built = basic::buildProgram(source, keywords, kStep); }));
    if (built.error || built.lineCount() != static_cast<size_t>(kLabels) * 4) {
      throw Failure(QStringLiteral("the source did not build: ") +
                    (built.error ? built.error->message : QString()));
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
                labelMs, "label form ms", 100)};
}

} // namespace kavrin::bench
