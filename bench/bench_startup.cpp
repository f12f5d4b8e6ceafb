// Start-up to a shown window, against a bare Qt window of the same size.
#include "children.h"
#include "figures.h"
#include "measure.h"

#include <QFileInfo>

namespace kavrin::bench {
namespace {

// Even: each two pairs give one ratio.
constexpr int kStartUpPairs = 16;

// The size kavrin's window opened at, as the start-up child printed it.
QStringList bareArguments(const QByteArray &shown) {
  const QList<QByteArray> size = shown.split(' ');
  if (size.size() != 3 || size[0] != "window") {
    throw Failure(QStringLiteral("start-up child printed \"%1\"").arg(QString::fromLocal8Bit(shown)));
  }
  return {QStringLiteral("--start-up"), QStringLiteral("bare"), QString::fromLatin1(size[1]),
          QString::fromLatin1(size[2])};
}

// kavrin's start-up with the settings file `iniFile` against a bare Qt
// window of the size kavrin opened at.
Row startUpFigure(const QString &figure, const QString &iniFile) {
  const QStringList kavrin{QStringLiteral("--start-up"), QStringLiteral("kavrin"), iniFile};
  // The first runs fill the file system and font caches for both.
  const QStringList bare = bareArguments(runChild(kavrin).output.trimmed());
  runChild(bare);
  std::vector<double> kavrinMs, bareMs, ratios;
  for (int i = 0; i < kStartUpPairs; ++i) {
    // Alternating which goes first keeps drift from favouring either.
    const bool kavrinFirst = i % 2 == 0;
    const double first = runChild(kavrinFirst ? kavrin : bare).ms;
    const double second = runChild(kavrinFirst ? bare : kavrin).ms;
    kavrinMs.push_back(kavrinFirst ? first : second);
    bareMs.push_back(kavrinFirst ? second : first);
    // Two pairs run kavrin, bare, bare, kavrin: a steady drift, and a
    // machine that slows every other process down (seen on shared virtual
    // machines), fall on both alike, where the ratio of one pair would
    // swing with the order.
    if (!kavrinFirst) {
      ratios.push_back((kavrinMs[i - 1] + kavrinMs[i]) / (bareMs[i - 1] + bareMs[i]));
    }
  }
  note(QStringLiteral("%1: window %2 x %3").arg(figure, bare[2], bare[3]));
  dump("kavrin ms", kavrinMs);
  dump("bare ms", bareMs);
  dump("ratio", ratios);
  const double ratio = median(ratios);
  return {figure, QStringLiteral("<= 1.15"),
          QStringLiteral("%1 (%2 ms / %3 ms)")
              .arg(fixed(ratio, 2), fixed(median(kavrinMs), 1), fixed(median(bareMs), 1)),
          verdict(ratio, 1.15, 2)};
}

// A start-up only reads its settings; the files are as they were.
void requireSettingsUntouched(const SettingsFiles &settings) {
  if (QFileInfo::exists(settings.none)) {
    throw Failure(QStringLiteral("a start-up wrote %1").arg(settings.none));
  }
  if (readFile(settings.full) != settings.fullBytes) {
    throw Failure(QStringLiteral("a start-up changed %1").arg(settings.full));
  }
}

} // namespace

std::vector<Row> startUpFigures(const Workspace &work) {
  const struct {
    QString figure;
    QString iniFile;
  } runs[] = {
      {QStringLiteral("start-up to shown window, kavrin / bare Qt (ratio)"), work.settings.none},
      {QStringLiteral("start-up to shown window, full kavrin.ini, kavrin / bare Qt (ratio)"),
       work.settings.full},
  };
  std::vector<Row> rows;
  for (const auto &run : runs) {
    rows.push_back(startUpFigure(run.figure, run.iniFile));
  }
  requireSettingsUntouched(work.settings);
  return rows;
}

} // namespace kavrin::bench
