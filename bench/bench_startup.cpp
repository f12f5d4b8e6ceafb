// Start-up to a shown window: kavrin against bare Qt windows of the same
// size, offscreen and in a real X11 window.  Every start is a fresh process,
// and each of kavrin's has a fresh folder and settings file of its own.
#include "children.h"
#include "figures.h"
#include "measure.h"
#include "x_server.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace kavrin::bench {
namespace {

// Even: each two rounds give one ratio.
constexpr int kRounds = 32;

// kavrin's starts with one settings file: each in a folder of its own, with
// a copy of the file, or none when `iniTemplate` does not exist.
class KavrinStarts {
public:
  KavrinStarts(const QDir &root, const QString &name, const QString &iniTemplate)
      : root_(root), name_(name), template_(iniTemplate) {
    if (QFileInfo::exists(iniTemplate)) {
      templateBytes_ = readFile(iniTemplate);
    }
  }

  // The arguments of the next start.
  QStringList next() {
    const QString folder = root_.filePath(QStringLiteral("%1-%2").arg(name_).arg(++count_));
    if (!QDir().mkpath(folder)) {
      throw Failure(QStringLiteral("cannot make %1").arg(folder));
    }
    ini_ = QDir(folder).filePath(QStringLiteral("kavrin.ini"));
    if (templateBytes_ && !QFile::copy(template_, ini_)) {
      throw Failure(QStringLiteral("cannot copy %1 to %2").arg(template_, ini_));
    }
    return {QStringLiteral("--start-up"), QStringLiteral("kavrin"), ini_};
  }

  // A start-up only reads its settings: the last one's file is as it was.
  void requireSettingsUntouched() const {
    if (templateBytes_ ? readFile(ini_) != *templateBytes_ : QFileInfo::exists(ini_)) {
      throw Failure(QStringLiteral("a start-up wrote %1").arg(ini_));
    }
  }

  ChildResult timeNext(const QProcessEnvironment &environment) {
    const ChildResult result = runChild(next(), environment);
    requireSettingsUntouched();
    return result;
  }

private:
  QDir root_;
  QString name_;
  QString template_;
  std::optional<QByteArray> templateBytes_;
  QString ini_;
  int count_ = 0;
};

// The bare windows kavrin is compared with, of the size of its window: one
// that shows kavrin's menu titles and status texts in its fonts (Japanese
// text to shape, a second Japanese font), and a plain one.
enum Reference { LookAlike, Plain, kReferences };

std::vector<QStringList> referenceStarts(const QString &lookFile, QSize size) {
  return {{QStringLiteral("--start-up"), QStringLiteral("look-alike"), lookFile},
          {QStringLiteral("--start-up"), QStringLiteral("bare"), QString::number(size.width()),
           QString::number(size.height())}};
}

// The wall times of one window's starts up to the window shown, and the
// processor times of the whole child, exit included.
struct Times {
  std::vector<double> ms;
  std::vector<double> cpuMs;

  void add(const ChildResult &start) {
    if (!start.shownMs) {
      throw Failure(QStringLiteral("a start-up child did not tell when its window was shown"));
    }
    ms.push_back(*start.shownMs);
    cpuMs.push_back(start.cpuMs);
  }
};

struct StartTimes {
  Times kavrin;
  Times references[kReferences];
};

// Rounds of one start of each: kavrin first, then the references, and the
// next round the other way round, so that a steady drift, and a machine that
// slows every other process down (seen on shared virtual machines), fall on
// all alike.  The first starts only fill the file system and font caches.
StartTimes timeStarts(KavrinStarts &kavrin, const QProcessEnvironment &environment, const QString &lookFile) {
  const QByteArray printed = runChild(kavrin.next(), environment).output;
  kavrin.requireSettingsUntouched();
  writeFile(lookFile, printed);
  const std::vector<QStringList> references = referenceStarts(lookFile, readWindowLook(printed).size);
  for (const QStringList &reference : references) {
    runChild(reference, environment);
  }
  StartTimes times;
  for (int round = 0; round < kRounds; ++round) {
    const bool forward = round % 2 == 0;
    if (forward) {
      times.kavrin.add(kavrin.timeNext(environment));
    }
    for (int i = 0; i < kReferences; ++i) {
      const int r = forward ? i : kReferences - 1 - i;
      times.references[r].add(runChild(references[r], environment));
    }
    if (!forward) {
      times.kavrin.add(kavrin.timeNext(environment));
    }
  }
  return times;
}

// A row with no target, printed for information.
constexpr double kNoTarget = 0.0;

// kavrin's times over the reference's, each two rounds' sums: the order of
// one round alone would swing the ratio.
std::vector<double> pairedRatios(const std::vector<double> &kavrin, const std::vector<double> &reference) {
  std::vector<double> ratios;
  for (std::size_t i = 1; i < kavrin.size(); i += 2) {
    ratios.push_back((kavrin[i - 1] + kavrin[i]) / (reference[i - 1] + reference[i]));
  }
  return ratios;
}

// The median wall-time ratio against `target`, with the processor-time
// ratio beside it, which a loaded machine hardly sways.
Row ratioRow(const QString &figure, double target, const Times &kavrin, const Times &reference) {
  const std::vector<double> ratios = pairedRatios(kavrin.ms, reference.ms);
  const std::vector<double> cpuRatios = pairedRatios(kavrin.cpuMs, reference.cpuMs);
  note(figure);
  dump("  kavrin ms", kavrin.ms);
  dump("  bare ms", reference.ms);
  dump("  ratio", ratios);
  dump("  kavrin CPU ms", kavrin.cpuMs);
  dump("  bare CPU ms", reference.cpuMs);
  const double ratio = median(ratios);
  const bool targeted = target != kNoTarget;
  return {figure, targeted ? QStringLiteral("<= %1").arg(fixed(target, 2)) : QStringLiteral("(information)"),
          QStringLiteral("%1 (%2 ms / %3 ms; CPU time %4)")
              .arg(fixed(ratio, 2), fixed(median(kavrin.ms), 1), fixed(median(reference.ms), 1),
                   fixed(median(cpuRatios), 2)),
          targeted ? verdict(ratio, target, 2) : QStringLiteral("-")};
}

// Where the windows open, and which reference the target holds against.
struct Screen {
  QString name;
  QProcessEnvironment environment;
  Reference targeted;
  double target;
};

std::vector<Row> startUpRows(const Workspace &work, const Screen &screen, const QString &settings,
                             const QString &iniTemplate) {
  static int measured = 0;
  const QString name = QStringLiteral("start-up-%1").arg(++measured);
  KavrinStarts kavrin(work.dir, name, iniTemplate);
  const StartTimes times =
      timeStarts(kavrin, screen.environment, work.dir.filePath(name + QStringLiteral(".look")));
  const QString figure = QStringLiteral("start-up to shown window, %1, %2, kavrin / %3 (ratio)");
  const QString references[kReferences] = {
      QStringLiteral("bare Qt window with its Japanese menu titles, status texts and fonts"),
      QStringLiteral("plain bare Qt window")};
  std::vector<Row> rows;
  for (int r = 0; r < kReferences; ++r) {
    rows.push_back(ratioRow(figure.arg(screen.name, settings, references[r]),
                            r == screen.targeted ? screen.target : kNoTarget, times.kavrin,
                            times.references[r]));
  }
  return rows;
}

QProcessEnvironment offscreenEnvironment() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  return environment;
}

// As offscreen, the target holds against the look-alike: every Japanese Qt
// program pays for shaping its texts and for the second font.
std::vector<Row> x11Rows(const Workspace &work) {
  if (!PrivateXServer::available()) {
    return {{QStringLiteral("start-up to shown window, X11, kavrin / bare Qt window with its Japanese "
                            "menu titles, status texts and fonts (ratio)"),
             QStringLiteral("<= 1.10"), QStringLiteral("not measured: no Xvfb"), QStringLiteral("-")}};
  }
  const PrivateXServer server;
  note(QStringLiteral("X11: Xvfb on %1").arg(server.display()));
  return startUpRows(work, {QStringLiteral("X11 (Xvfb)"), server.environment(), LookAlike, 1.10},
                     QStringLiteral("no kavrin.ini"), work.settings.none);
}

} // namespace

std::vector<Row> startUpFigures(const Workspace &work) {
  const Screen offscreen{QStringLiteral("offscreen"), offscreenEnvironment(), LookAlike, 1.10};
  std::vector<Row> rows = startUpRows(work, offscreen, QStringLiteral("no kavrin.ini"), work.settings.none);
  for (Row &row : startUpRows(work, offscreen, QStringLiteral("full kavrin.ini"), work.settings.full)) {
    rows.push_back(row);
  }
  for (Row &row : x11Rows(work)) {
    rows.push_back(row);
  }
  return rows;
}

} // namespace kavrin::bench
