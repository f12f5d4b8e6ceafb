// The program check with every rule on, on a 1 MiB program of 40,000 lines
// and on one four times as large, which holds longer lines.
#include "figures.h"
#include "logic/keyword_list.h"
#include "logic/keyword_matcher.h"
#include "logic/program_check.h"
#include "measure.h"
#include "platform/cp932.h"

#include <QCoreApplication>
#include <QDir>

#include <random>

namespace kavrin::bench {
namespace {

constexpr int kLines = 40000;
constexpr int kRuns = 11;
constexpr double kMostMs = 50;
constexpr double kMostGrowth = 4.5;

// Lines numbered 1, 2, ... whose statements give every rule work, about
// `size` characters in all.
QString checkedProgram(qsizetype size) {
  std::mt19937 random(2801);
  const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const QString statements[] = {
      QStringLiteral("GOTO %1"),          QStringLiteral("IF SC>%1 THEN %1"), QStringLiteral("GOSUB %1"),
      QStringLiteral("PRINT\"ｽｺｱ:\";SC"), QStringLiteral("FORI=1TO%1:NEXTI"), QStringLiteral("SCORE=SC+%1"),
      QStringLiteral("RETURN"),           QStringLiteral("X=X+%1:Y$=\"敵\""), QStringLiteral("END"),
  };
  QString text;
  for (int n = 1; n <= kLines; ++n) {
    text += QString::number(n);
    for (int s = 0; s == 0 || text.size() < size / kLines * n; ++s) {
      text += s == 0 ? u' ' : u':';
      const QString &statement = statements[pick(std::size(statements))];
      text += statement.contains(u'%') ? statement.arg(pick(kLines) + 1) : statement;
    }
    text += pick(50) == 0 ? QStringLiteral(" 'ＡＢ\n") : QStringLiteral("\n");
  }
  return text;
}

} // namespace

std::vector<Row> programCheckFigures(const Workspace & /*work*/) {
  // The longer of the modes' own lists.
  const QStringList words =
      loadKeywordList(keywordFilePath(QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + u'/'),
                                      QStringLiteral("qmsrcode.txt")));
  if (words.size() < 100) {
    throw Failure(QStringLiteral("the keyword list qmsrcode.txt was not found beside the benchmark"));
  }
  const basic::KeywordMatcher keywords(words);
  std::vector<Row> rows;
  std::vector<double> medians;
  for (const qsizetype chars : {1 << 20, 4 << 20}) {
    const QString program = checkedProgram(chars);
    std::vector<double> ms;
    for (int i = 0; i < kRuns; ++i) {
      ms.push_back(millisecondsOf([&] { (void)basic::checkProgram(program, keywords); }));
    }
    const QString size =
        QStringLiteral("%1 KiB, %2 lines").arg(cp932::encode(program).bytes.size() / 1024).arg(kLines);
    const double limit = medians.empty() ? kMostMs : medians.front() * kMostGrowth;
    rows.push_back(
        msRow(QStringLiteral("program check, every rule on (") + size + u')', ms, "rules ms", limit));
    medians.push_back(median(ms));
  }
  const double growth = medians[1] / medians[0];
  rows.push_back({QStringLiteral("program check, every rule on, 4 / 1 times the size (ratio)"),
                  QStringLiteral("<= %1").arg(fixed(kMostGrowth, 2)), fixed(growth, 2),
                  verdict(growth, kMostGrowth, 2)});
  return rows;
}

} // namespace kavrin::bench
