// Measures kavrin's speed and memory figures and prints each beside its
// target.  Exit code 0 even when a target is missed: the table is the
// result; only a failure to measure gives a non-zero code.
#include "app/application.h"
#include "children.h"
#include "figures.h"
#include "measure.h"
#include "sample_program.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <exception>

namespace kavrin::bench {
namespace {

constexpr qsizetype kSampleBytes = 4 * 1024 * 1024;

// The figures in the order measured.  The children come first, while this
// process is still small to fork; memory, measured then, is printed last.
const struct {
  const char *progress;
  std::vector<Row> (*measure)(const Workspace &work);
  bool printedLast;
} kFigures[] = {
    {"start-up", startUpFigures, false},
    {"memory", memoryFigures, true},
    {"loading", loadSaveFigures, false},
    {"codec", codecFigures, false},
    {"keyword completion", completionFigures, false},
    {"RETURN with AUTO on", autoNumberFigures, false},
    {"BASIC program tools", basicToolsFigures, false},
    {"following jumps", jumpFigures, false},
    {"result panel", panelFigures, false},
    {"moving lines", moveLinesFigures, false},
    {"moving lines past missing references", moveMissingFigures, false},
    {"keyword colours", colourFigures, false},
    {"recovery copy", recoveryFigures, false},
    {"check kept current", keptCheckFigures, false},
    {"converter output", converterOutputFigures, false},
    {"program check rules", programCheckFigures, false},
    {"source form", sourceFormFigures, false},
};

Workspace makeWorkspace(const QTemporaryDir &dir) {
  Workspace work{QDir(dir.path()), {}, {}, makeSampleProgram(kSampleBytes)};
  work.samplePath = work.dir.filePath(QStringLiteral("program.txt"));
  writeFile(work.samplePath, work.sample);
  work.settings = makeSettingsFiles(work.dir);
  return work;
}

std::vector<Row> measureAll(const Workspace &work) {
  std::vector<Row> rows, last;
  // KAVRIN_BENCH_ONLY=recovery measures only the figures of that name.
  const QByteArray only = qgetenv("KAVRIN_BENCH_ONLY");
  for (const auto &figures : kFigures) {
    if (!only.isEmpty() && !QByteArray(figures.progress).contains(only)) {
      continue;
    }
    progress(figures.progress);
    // A window writes its settings when the recent list changes: each
    // figure starts again without a settings file.
    QFile::remove(work.settings.none);
    const std::vector<Row> measured = figures.measure(work);
    std::vector<Row> &into = figures.printedLast ? last : rows;
    into.insert(into.end(), measured.begin(), measured.end());
  }
  rows.insert(rows.end(), last.begin(), last.end());
  return rows;
}

int drive(int &argc, char **argv) {
  QApplication app(argc, argv);
  initialiseApplication(app);

  QTemporaryDir dir;
  if (!dir.isValid()) {
    throw Failure(QStringLiteral("no temporary folder: ") + dir.errorString());
  }
  const Workspace work = makeWorkspace(dir);
  // A settings file beside the executable is the program's own; the run
  // must neither read it (see benchPaths) nor leave one there.
  const QString ownIni = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kavrin.ini"));
  const bool ownIniBefore = QFileInfo::exists(ownIni);

  const std::vector<Row> rows = measureAll(work);
  if (!ownIniBefore && QFileInfo::exists(ownIni)) {
    throw Failure(QStringLiteral("a window wrote %1").arg(ownIni));
  }

  std::printf("kavrin_bench: Qt %s, platform %s, %s build, sample %lld bytes in %lld lines\n\n", qVersion(),
              QGuiApplication::platformName().toUtf8().constData(), KAVRIN_BENCH_CONFIG,
              static_cast<long long>(work.sample.size()), static_cast<long long>(work.sample.count('\n')));
  printTable(rows);
  return 0;
}

// Without a display the windows go to Qt's offscreen platform, which shows
// them at once; a given QT_QPA_PLATFORM is left alone.
void chooseOffscreenWithoutDisplay() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
#endif
}

int usage() {
  std::fputs("usage: kavrin_bench [--verbose]\n"
             "       kavrin_bench --start-up kavrin settings-file\n"
             "       kavrin_bench --start-up bare [width height]\n"
             "       kavrin_bench --start-up look-alike look-file\n"
             "       kavrin_bench --memory settings-file [file]\n",
             stderr);
  return 2;
}

// A positive whole number, or 0.
int sizeArgument(const char *text) {
  bool ok = false;
  const int value = QByteArray(text).toInt(&ok);
  return ok && value > 0 ? value : 0;
}

// The child modes, or the usage when the arguments fit none.
int runChildMode(int &argc, char **argv) {
  if (argc == 4 && std::strcmp(argv[1], "--start-up") == 0 && std::strcmp(argv[2], "kavrin") == 0) {
    const QString iniFile = QString::fromLocal8Bit(argv[3]);
    return startUpChild(argc, argv, iniFile);
  }
  if ((argc == 3 || argc == 5) && std::strcmp(argv[1], "--start-up") == 0 &&
      std::strcmp(argv[2], "bare") == 0) {
    QSize size;
    if (argc == 5) {
      size = QSize(sizeArgument(argv[3]), sizeArgument(argv[4]));
      if (size.isEmpty()) {
        return usage();
      }
    }
    return bareStartUpChild(argc, argv, size);
  }
  if (argc == 4 && std::strcmp(argv[1], "--start-up") == 0 && std::strcmp(argv[2], "look-alike") == 0) {
    return lookAlikeStartUpChild(argc, argv, QString::fromLocal8Bit(argv[3]));
  }
  if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--memory") == 0) {
    const QString iniFile = QString::fromLocal8Bit(argv[2]);
    const QString file = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString();
    return memoryChild(argc, argv, iniFile, file);
  }
  return usage();
}

} // namespace
} // namespace kavrin::bench

int main(int argc, char *argv[]) {
  using namespace kavrin::bench;
  chooseOffscreenWithoutDisplay();
  try {
    if (argc == 1 || (argc == 2 && std::strcmp(argv[1], "--verbose") == 0)) {
      setVerbose(argc == 2);
      return drive(argc, argv);
    }
    return runChildMode(argc, argv);
  } catch (const std::exception &e) {
    std::fprintf(stderr, "kavrin_bench: %s\n", e.what());
    return 1;
  }
}
