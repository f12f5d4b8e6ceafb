// Measures kavrin's speed and memory figures and prints each beside its
// target.  Exit code 0 even when a target is missed: the table is the
// result; only a failure to measure gives a non-zero code.
#include "app/application.h"
#include "app/tform1.h"
#include "children.h"
#include "editing/keyword_list.h"
#include "measure.h"
#include "platform/cp932.h"
#include "widgets/rich_edit.h"
#include "sample_keywords.h"
#include "sample_program.h"
#include "sample_settings.h"
#include "silent_ui.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

namespace kavrin::bench {
namespace {

constexpr qsizetype kSampleBytes = 4 * 1024 * 1024;
// Even: each two pairs give one ratio.
constexpr int kStartUpPairs = 16;
constexpr int kLoadPairs = 9;
constexpr int kSaveRuns = 10;
constexpr int kCodecRuns = 20;
constexpr int kChildTimeoutMs = 60'000;
constexpr qsizetype kKeywordCount = 10'000;
constexpr int kTabWarmUps = 10;
// Samples of each TAB figure at each caret place, taken in rounds that
// alternate the documents, so that a busy moment of the machine does not
// fall on one document only.
constexpr int kTabSamples = 200;
constexpr int kTabRounds = 4;
// The typed word must stand for a run of entries, not pick out one.
constexpr int kLeastRun = 5;
// How far before the end of the document "near the end" is: a few lines.
constexpr int kNearEndChars = 300;
// RETURN samples at each caret place, taken in rounds as for TAB.
constexpr int kReturnWarmUps = 10;
constexpr int kReturnSamples = 200;
constexpr int kReturnRounds = 4;
// A RETURN that costs the same in any document keeps this ratio near 1;
// one that grows with the text approaches 16, the ratio of the sizes.
constexpr double kMostReturnGrowth = 1.5;

struct Row {
  QString figure;
  QString target;
  QString measured;
  QString verdict;
};

QString fixed(double value, int decimals) { return QString::number(value, 'f', decimals); }

// Judged on the figure as printed, so that the table never contradicts itself.
QString verdict(double measured, double limit, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::round(measured * scale) / scale <= limit ? QStringLiteral("ok") : QStringLiteral("over");
}

bool verbose = false;

// Every sample, for telling noise from a real change.
void dump(const QString &what, const std::vector<double> &values, int decimals = 2) {
  if (!verbose) {
    return;
  }
  QStringList shown;
  for (const double value : values) {
    shown << fixed(value, decimals);
  }
  std::fprintf(stderr, "kavrin_bench:   %s: %s\n", what.toUtf8().constData(),
               shown.join(u' ').toUtf8().constData());
}

void progress(const char *what) {
  std::fprintf(stderr, "kavrin_bench: %s\n", what);
  std::fflush(stderr);
}

struct ChildResult {
  double ms = 0.0;
  QByteArray output;
};

// Starts this executable in a child mode; the time runs from the spawn to
// the child's exit.
ChildResult runChild(const QStringList &args) {
  QProcess child;
  child.setProgram(QCoreApplication::applicationFilePath());
  child.setArguments(args);
  ChildResult result;
  bool finished = false;
  result.ms = millisecondsOf([&] {
    child.start();
    finished = child.waitForFinished(kChildTimeoutMs);
  });
  const auto describe = [&](const QString &what) {
    return QStringLiteral("child %1 %2: %3")
        .arg(args.join(u' '), what, QString::fromLocal8Bit(child.readAllStandardError()).trimmed());
  };
  if (!finished) {
    const QString error = child.errorString();
    child.kill();
    child.waitForFinished();
    throw Failure(describe(QStringLiteral("did not finish (%1)").arg(error)));
  }
  if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
    throw Failure(describe(QStringLiteral("failed with exit code %1").arg(child.exitCode())));
  }
  result.output = child.readAllStandardOutput();
  return result;
}

// kavrin's start-up with the settings file `iniFile` against a bare Qt
// window of the size kavrin opened at.
Row startUpFigure(const QString &figure, const QString &iniFile) {
  const QStringList kavrin{QStringLiteral("--start-up"), QStringLiteral("kavrin"), iniFile};
  // The first runs fill the file system and font caches for both.
  const QByteArray shown = runChild(kavrin).output.trimmed();
  const QList<QByteArray> size = shown.split(' ');
  if (size.size() != 3 || size[0] != "window") {
    throw Failure(QStringLiteral("start-up child printed \"%1\"").arg(QString::fromLocal8Bit(shown)));
  }
  const QStringList bare{QStringLiteral("--start-up"), QStringLiteral("bare"), QString::fromLatin1(size[1]),
                         QString::fromLatin1(size[2])};
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
  if (verbose) {
    std::fprintf(stderr, "kavrin_bench:   %s: window %s x %s\n", figure.toUtf8().constData(),
                 size[1].constData(), size[2].constData());
  }
  dump("kavrin ms", kavrinMs);
  dump("bare ms", bareMs);
  dump("ratio", ratios);
  const double ratio = median(ratios);
  return {figure, QStringLiteral("<= 1.15"),
          QStringLiteral("%1 (%2 ms / %3 ms)")
              .arg(fixed(ratio, 2), fixed(median(kavrinMs), 1), fixed(median(bareMs), 1)),
          verdict(ratio, 1.15, 2)};
}

QByteArray readFile(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw Failure(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
  }
  return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
    throw Failure(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
  }
}

// Settings files of their own for every window the run opens: none of them
// existing, for kavrin as first started, and a complete one.
struct Settings {
  QString none;
  QString full;
  QByteArray fullBytes;
};

Settings makeSettings(const QDir &dir) {
  for (const QString &folder : {QStringLiteral("no-settings"), QStringLiteral("settings")}) {
    if (!dir.mkpath(folder)) {
      throw Failure(QStringLiteral("cannot make %1").arg(dir.filePath(folder)));
    }
  }
  Settings settings;
  settings.none = dir.filePath(QStringLiteral("no-settings/kavrin.ini"));
  settings.full = dir.filePath(QStringLiteral("settings/kavrin.ini"));
  // The recent files exist, as they would after a few sessions.
  QStringList recent;
  const QStringList names{QStringLiteral("シューティング.txt"), QStringLiteral("RPG戦闘.txt"),
                          QStringLiteral("MAZE.TXT"), QStringLiteral("音楽データ.txt")};
  for (qsizetype i = 0; i < names.size(); ++i) {
    const QString path = dir.filePath(QStringLiteral("settings/") + names[i]);
    writeFile(path, makeSampleProgram(4 * 1024 * (i + 1)));
    recent << QDir::toNativeSeparators(path);
  }
  settings.fullBytes = makeFullSettings(recent);
  writeFile(settings.full, settings.fullBytes);
  return settings;
}

// A start-up only reads its settings; the files are as they were.
void requireSettingsUntouched(const Settings &settings) {
  if (QFileInfo::exists(settings.none)) {
    throw Failure(QStringLiteral("a start-up wrote %1").arg(settings.none));
  }
  if (readFile(settings.full) != settings.fullBytes) {
    throw Failure(QStringLiteral("a start-up changed %1").arg(settings.full));
  }
}

std::vector<Row> startUpFigures(const Settings &settings) {
  std::vector<Row> rows;
  rows.push_back(
      startUpFigure(QStringLiteral("start-up to shown window, kavrin / bare Qt (ratio)"), settings.none));
  rows.push_back(startUpFigure(
      QStringLiteral("start-up to shown window, full kavrin.ini, kavrin / bare Qt (ratio)"), settings.full));
  requireSettingsUntouched(settings);
  return rows;
}

QString peakMemoryOf(const QStringList &args) {
  const QByteArray out = runChild(args).output.trimmed();
  if (!out.startsWith("peak-kib ")) {
    throw Failure(QStringLiteral("memory child printed \"%1\"").arg(QString::fromLocal8Bit(out)));
  }
  bool ok = false;
  const long long kib = out.mid(9).toLongLong(&ok);
  return ok ? QStringLiteral("%1 MiB").arg(fixed(static_cast<double>(kib) / 1024.0, 1))
            : QStringLiteral("n/a");
}

std::vector<Row> memoryFigures(const QString &iniFile, const QString &path) {
  return {{QStringLiteral("peak memory, window started"), QStringLiteral("-"),
           peakMemoryOf({QStringLiteral("--memory"), iniFile}), QStringLiteral("-")},
          {QStringLiteral("peak memory, window started + 4 MiB loaded"), QStringLiteral("-"),
           peakMemoryOf({QStringLiteral("--memory"), iniFile, path}), QStringLiteral("-")}};
}

void requireSilence(const SilentUserInterface &ui) {
  if (!ui.messages.isEmpty()) {
    throw Failure(QStringLiteral("kavrin said: ") + ui.messages.first());
  }
}

// What the user waits for: the call, the events it posted and the first
// repaint of the text.
double settledMs(QPlainTextEdit *editor, const std::function<void()> &work) {
  return millisecondsOf([&] {
    work();
    QCoreApplication::sendPostedEvents();
    editor->viewport()->repaint();
  });
}

std::vector<Row> documentFigures(const QString &iniFile, const QString &path, const QByteArray &sample) {
  SilentUserInterface ui;
  const std::unique_ptr<TForm1> form = shownMainWindow(ui, benchPaths(iniFile));
  QPlainTextEdit bare;
  bare.resize(form->RichEdit1->size());
  bare.show();
  waitUntilExposed(&bare);

  const QString text = cp932::decode(sample);
  const auto loadKavrin = [&] { return settledMs(form->RichEdit1, [&] { form->LoadFile(path); }); };
  const auto loadBare = [&] { return settledMs(&bare, [&] { bare.setPlainText(text); }); };
  // Each load starts from an empty editor, as right after start-up.
  const auto empty = [&] {
    form->RichEdit1->setText(QString());
    bare.clear();
    QCoreApplication::processEvents();
  };

  progress("loading");
  empty();
  loadKavrin();
  empty();
  loadBare();
  std::vector<double> kavrinMs, bareMs, ratios;
  for (int i = 0; i < kLoadPairs; ++i) {
    const bool kavrinFirst = i % 2 == 0;
    empty();
    const double first = kavrinFirst ? loadKavrin() : loadBare();
    empty();
    const double second = kavrinFirst ? loadBare() : loadKavrin();
    kavrinMs.push_back(kavrinFirst ? first : second);
    bareMs.push_back(kavrinFirst ? second : first);
    ratios.push_back(kavrinMs.back() / bareMs.back());
  }
  requireSilence(ui);
  dump("kavrin ms", kavrinMs);
  dump("bare ms", bareMs);
  dump("ratio", ratios);
  const double loadRatio = median(ratios);

  progress("saving");
  form->LoadFile(path);
  form->Save1Click();
  std::vector<double> saveMs;
  for (int i = 0; i < kSaveRuns; ++i) {
    saveMs.push_back(millisecondsOf([&] { form->Save1Click(); }));
  }
  requireSilence(ui);
  QFile saved(path);
  if (!saved.open(QIODevice::ReadOnly) || saved.readAll() != sample) {
    throw Failure(QStringLiteral("the saved file differs from the one loaded"));
  }
  dump("ms", saveMs);
  const double save = median(saveMs);

  return {{QStringLiteral("load 4 MiB file, kavrin / bare QPlainTextEdit (ratio)"), QStringLiteral("<= 1.15"),
           QStringLiteral("%1 (%2 ms / %3 ms)")
               .arg(fixed(loadRatio, 2), fixed(median(kavrinMs), 1), fixed(median(bareMs), 1)),
           verdict(loadRatio, 1.15, 2)},
          {QStringLiteral("save 4 MiB file"), QStringLiteral("<= 100 ms"),
           fixed(save, 1) + QStringLiteral(" ms"), verdict(save, 100.0, 1)}};
}

std::vector<Row> codecFigures(const QByteArray &sample) {
  progress("codec");
  QString text = cp932::decode(sample);
  QByteArray bytes = cp932::encode(text).bytes;
  if (bytes != sample) {
    throw Failure(QStringLiteral("the sample does not survive decode and encode"));
  }
  std::vector<double> decodeMs, encodeMs;
  for (int i = 0; i < kCodecRuns; ++i) {
    // Assigning keeps each result alive past the clock, as a caller would.
    decodeMs.push_back(millisecondsOf([&] { text = cp932::decode(sample); }));
    encodeMs.push_back(millisecondsOf([&] { bytes = cp932::encode(text).bytes; }));
  }
  dump("decode ms", decodeMs);
  dump("encode ms", encodeMs);
  const double decode = median(decodeMs);
  const double encode = median(encodeMs);
  return {{QStringLiteral("Shift-JIS decode of the 4 MiB file"), QStringLiteral("<= 10 ms"),
           fixed(decode, 2) + QStringLiteral(" ms"), verdict(decode, 10.0, 2)},
          {QStringLiteral("Shift-JIS encode of the 4 MiB file"), QStringLiteral("<= 10 ms"),
           fixed(encode, 2) + QStringLiteral(" ms"), verdict(encode, 10.0, 2)}};
}

// A key as the window system delivers it: through the shortcut map to the
// focused editor.  QTest::keyPress would also run the event loop, which
// paints; here the handling and the repaint are timed apart.
void sendKey(TForm1 &form, Qt::Key key, QEvent::Type type) {
  QString text;
  switch (key) {
  case Qt::Key_Tab:
    text = QStringLiteral("\t");
    break;
  case Qt::Key_Backspace:
    text = QStringLiteral("\b");
    break;
  case Qt::Key_Escape:
    text = QStringLiteral("\x1b");
    break;
  case Qt::Key_Return:
    text = QStringLiteral("\r");
    break;
  default:
    break;
  }
  qt_handleKeyEvent(form.windowHandle(), type, key, Qt::NoModifier, text);
}

// What follows a key before the user sees its effect: the posted events,
// among them the repaint of what the key changed.
double settle() {
  return millisecondsOf([] { QCoreApplication::sendPostedEvents(); });
}

void tapKey(TForm1 &form, Qt::Key key) {
  sendKey(form, key, QEvent::KeyPress);
  sendKey(form, key, QEvent::KeyRelease);
  settle();
}

// Late in the list, so that the search for its run passes most entries.
const QString kTypedWord = QStringLiteral("STRI");

struct TabTimes {
  std::vector<double> first;
  std::vector<double> further;
  // The repaint that follows each, not part of the figures.
  std::vector<double> firstRepaint;
  std::vector<double> furtherRepaint;
  // How many entries the typed word matches.
  int run = 0;
};

// Types a new line ending in kTypedWord after the line holding `pos`, and
// times `samples` TABs of each kind with the caret after the word.  The same
// line in every place and document leaves the document as the only
// difference.
void measureTabsAt(TForm1 &form, int pos, int samples, TabTimes &times) {
  RichEdit &edit = *form.RichEdit1;
  const QTextBlock line = edit.document()->findBlock(pos);
  const QString text = line.text();
  qsizetype digits = 0;
  while (digits < text.size() && text[digits].isDigit()) {
    ++digits;
  }
  // Numbered between this line and the next, as BASIC programmers do.
  const int number = text.left(digits).toInt() + 5;
  edit.setSelStart(line.position() + line.length() - 1);
  edit.setSelText(u'\n' + QString::number(number) + u' ' + kTypedWord);
  edit.ensureCursorVisible();
  settle();
  const int caret = edit.selStart();
  const int length = edit.textLength();

  // Esc ends the cycle leaving the shown tail selected, and Backspace
  // removes it: the text is back to the typed word.
  const auto endCycle = [&] {
    tapKey(form, Qt::Key_Escape);
    if (edit.selLength() > 0) {
      tapKey(form, Qt::Key_Backspace);
    }
    if (form.CompActive || edit.selStart() != caret || edit.selLength() != 0 || edit.textLength() != length) {
      throw Failure(QStringLiteral("a completion cycle did not end as a user ends it"));
    }
  };
  const auto tab = [&](std::vector<double> &times, std::vector<double> &repaints, bool kept) {
    const double ms = millisecondsOf([&] { sendKey(form, Qt::Key_Tab, QEvent::KeyPress); });
    const double repaint = settle();
    sendKey(form, Qt::Key_Tab, QEvent::KeyRelease);
    settle();
    if (!form.CompActive) {
      throw Failure(QStringLiteral("TAB started no completion cycle"));
    }
    if (kept) {
      times.push_back(ms);
      repaints.push_back(repaint);
    }
  };

  for (int i = 0; i < kTabWarmUps + samples; ++i) {
    tab(times.first, times.firstRepaint, i >= kTabWarmUps);
    times.run = form.CompEnd - form.CompFirst;
    if (form.CompIndex < 0 || times.run < kLeastRun) {
      throw Failure(QStringLiteral("\"%1\" matches %2 entries").arg(kTypedWord).arg(times.run));
    }
    endCycle();
  }
  // Stepping round the ring passes every entry of the run and the typed
  // word alone.
  tapKey(form, Qt::Key_Tab);
  for (int i = 0; i < kTabWarmUps + samples; ++i) {
    tab(times.further, times.furtherRepaint, i >= kTabWarmUps);
  }
  endCycle();
}

std::vector<double> joined(std::vector<double> a, const std::vector<double> &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Judged on the slower caret place; both are shown, and the repaint that
// the user waits for as well.
Row keyRow(const QString &figure, const std::vector<double> &middle, const std::vector<double> &nearEnd,
           const std::vector<double> &repaints) {
  const double worst = std::max(median(middle), median(nearEnd));
  return {figure, QStringLiteral("<= 1 ms"),
          QStringLiteral("%1 ms (middle %2, near end %3, p90 %4; then repaint %5)")
              .arg(fixed(worst, 3), fixed(median(middle), 3), fixed(median(nearEnd), 3),
                   fixed(percentile(joined(middle, nearEnd), 0.9), 3), fixed(median(repaints), 3)),
          verdict(worst, 1.0, 3)};
}

// The shown window with the focus in the editor, where typed keys go.
std::unique_ptr<TForm1> typingMainWindow(UserInterface &ui, const QString &iniFile) {
  std::unique_ptr<TForm1> form = shownMainWindow(ui, benchPaths(iniFile));
  form->RichEdit1->setFocus();
  QCoreApplication::processEvents();
  if (form->focusWidget() != form->RichEdit1) {
    throw Failure(QStringLiteral("the editor does not have the focus"));
  }
  return form;
}

std::vector<Row> completionFigures(const QDir &dir, const QString &iniFile) {
  progress("keyword completion");
  SilentUserInterface ui;
  const std::unique_ptr<TForm1> form = typingMainWindow(ui, iniFile);
  const QStringList keywords = makeKeywordList(
      loadKeywordList(keywordFilePath(form->ExeDir, QStringLiteral("qmsrcode.txt"))), kKeywordCount);

  struct Document {
    QString name;
    qsizetype bytes;
    QString path;
    TabTimes middle;
    TabTimes nearEnd;
  };
  Document documents[] = {{QStringLiteral("1 MiB"), 1024 * 1024, {}, {}, {}},
                          {QStringLiteral("64 KiB"), 64 * 1024, {}, {}, {}}};
  for (Document &document : documents) {
    document.path = dir.filePath(QStringLiteral("completion-%1.txt").arg(document.bytes));
    writeFile(document.path, makeSampleProgram(document.bytes));
  }
  form->Keywords = keywords;
  for (int round = 0; round < kTabRounds; ++round) {
    for (int i = 0; i < 2; ++i) {
      Document &document = documents[(round + i) % 2];
      // Each round starts from the file, so that the edits of one do not
      // pile up in the next.
      form->CompActive = false;
      form->LoadFile(document.path);
      settle();
      const int length = form->RichEdit1->textLength();
      measureTabsAt(*form, length / 2, kTabSamples / kTabRounds, document.middle);
      measureTabsAt(*form, std::max(length - kNearEndChars, 0), kTabSamples / kTabRounds, document.nearEnd);
    }
  }
  for (const Document &document : documents) {
    const auto dumpPlace = [&](const QString &place, const TabTimes &times) {
      const QString where = document.name + QStringLiteral(", ") + place;
      if (verbose) {
        std::fprintf(stderr, "kavrin_bench:   %s: \"%s\" matches %d entries\n", where.toUtf8().constData(),
                     kTypedWord.toUtf8().constData(), times.run);
      }
      dump(QStringLiteral("first TAB ms, ") + where, times.first, 3);
      dump(QStringLiteral("its repaint ms, ") + where, times.firstRepaint, 3);
      dump(QStringLiteral("further TAB ms, ") + where, times.further, 3);
      dump(QStringLiteral("its repaint ms, ") + where, times.furtherRepaint, 3);
    };
    dumpPlace(QStringLiteral("middle"), document.middle);
    dumpPlace(QStringLiteral("near end"), document.nearEnd);
  }
  requireSilence(ui);

  std::vector<Row> rows;
  for (const bool further : {false, true}) {
    for (const Document &document : documents) {
      const TabTimes &middle = document.middle;
      const TabTimes &nearEnd = document.nearEnd;
      rows.push_back(
          further
              ? keyRow(QStringLiteral("keyword completion, further TAB, %1 document, 10,000 keywords")
                           .arg(document.name),
                       middle.further, nearEnd.further, joined(middle.furtherRepaint, nearEnd.furtherRepaint))
              : keyRow(QStringLiteral("keyword completion, first TAB, %1 document, 10,000 keywords")
                           .arg(document.name),
                       middle.first, nearEnd.first, joined(middle.firstRepaint, nearEnd.firstRepaint)));
    }
  }
  return rows;
}

// The line that RETURN ends, the same in every place and document, so that
// the document is the only difference.
const QString kNumberedLine = QStringLiteral("12345 PRINT X");
constexpr int kLineNumber = 12345;

struct ReturnTimes {
  std::vector<double> ms;
  // The repaint that follows each, timed apart from the key.
  std::vector<double> repaint;
};

// Puts kNumberedLine on a new line after the line holding `pos` and times
// `samples` RETURNs with the caret at its end.  Each is undone, outside the
// clock, before the next.
void measureReturnsAt(TForm1 &form, int pos, int samples, ReturnTimes &times) {
  RichEdit &edit = *form.RichEdit1;
  const QTextDocument &document = *edit.document();
  const QTextBlock line = document.findBlock(pos);
  edit.setSelStart(line.position() + line.length() - 1);
  edit.setSelText(u'\n' + kNumberedLine);
  edit.ensureCursorVisible();
  settle();
  const int caret = edit.selStart();
  const int length = edit.textLength();
  const int lines = document.blockCount();
  const QString before = edit.toPlainText();
  // RETURN adds a line break and the start of the next numbered line.
  const QString next = QString::number(kLineNumber + form.AutoAdd) + u' ';
  const int added = 1 + static_cast<int>(next.size());

  for (int i = 0; i < kReturnWarmUps + samples; ++i) {
    const double ms = millisecondsOf([&] { sendKey(form, Qt::Key_Return, QEvent::KeyPress); });
    const double repaint = settle();
    sendKey(form, Qt::Key_Return, QEvent::KeyRelease);
    settle();
    if (edit.textLength() != length + added || edit.selStart() != caret + added ||
        document.findBlock(caret + added).text() != next) {
      throw Failure(QStringLiteral("RETURN did not start line %1").arg(next.trimmed()));
    }
    if (i >= kReturnWarmUps) {
      times.ms.push_back(ms);
      times.repaint.push_back(repaint);
    }
    form.Undo1Click();
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
  if (edit.toPlainText() != before) {
    throw Failure(QStringLiteral("the RETURNs and their undos changed the text"));
  }
}

std::vector<Row> autoNumberFigures(const QDir &dir, const QString &iniFile) {
  progress("RETURN with AUTO on");
  SilentUserInterface ui;
  const std::unique_ptr<TForm1> form = typingMainWindow(ui, iniFile);
  form->AUTO1->setChecked(true);

  struct Document {
    QString name;
    qsizetype bytes;
    QString path;
    ReturnTimes middle;
    ReturnTimes nearEnd;
  };
  Document documents[] = {{QStringLiteral("1 MiB"), 1024 * 1024, {}, {}, {}},
                          {QStringLiteral("64 KiB"), 64 * 1024, {}, {}, {}}};
  for (Document &document : documents) {
    document.path = dir.filePath(QStringLiteral("auto-number-%1.txt").arg(document.bytes));
    writeFile(document.path, makeSampleProgram(document.bytes));
  }
  for (int round = 0; round < kReturnRounds; ++round) {
    for (int i = 0; i < 2; ++i) {
      Document &document = documents[(round + i) % 2];
      // From the file each round, with an empty undo history.
      form->LoadFile(document.path);
      settle();
      const int length = form->RichEdit1->textLength();
      measureReturnsAt(*form, length / 2, kReturnSamples / kReturnRounds, document.middle);
      measureReturnsAt(*form, std::max(length - kNearEndChars, 0), kReturnSamples / kReturnRounds,
                       document.nearEnd);
    }
  }
  for (const Document &document : documents) {
    dump(QStringLiteral("RETURN ms, %1, middle").arg(document.name), document.middle.ms, 3);
    dump(QStringLiteral("its repaint ms, %1, middle").arg(document.name), document.middle.repaint, 3);
    dump(QStringLiteral("RETURN ms, %1, near end").arg(document.name), document.nearEnd.ms, 3);
    dump(QStringLiteral("its repaint ms, %1, near end").arg(document.name), document.nearEnd.repaint, 3);
  }
  requireSilence(ui);

  std::vector<Row> rows;
  std::vector<double> worst;
  for (const Document &document : documents) {
    rows.push_back(keyRow(QStringLiteral("RETURN with AUTO on, %1 document").arg(document.name),
                          document.middle.ms, document.nearEnd.ms,
                          joined(document.middle.repaint, document.nearEnd.repaint)));
    worst.push_back(std::max(median(document.middle.ms), median(document.nearEnd.ms)));
  }
  const double growth = worst[0] / worst[1];
  rows.push_back({QStringLiteral("RETURN with AUTO on, 1 MiB / 64 KiB document (ratio)"),
                  QStringLiteral("<= %1").arg(fixed(kMostReturnGrowth, 2)), fixed(growth, 2),
                  verdict(growth, kMostReturnGrowth, 2)});
  return rows;
}

void printTable(const std::vector<Row> &rows) {
  const Row head{QStringLiteral("figure"), QStringLiteral("target"), QStringLiteral("measured"),
                 QStringLiteral("verdict")};
  qsizetype widths[3] = {head.figure.size(), head.target.size(), head.measured.size()};
  for (const Row &row : rows) {
    widths[0] = std::max(widths[0], row.figure.size());
    widths[1] = std::max(widths[1], row.target.size());
    widths[2] = std::max(widths[2], row.measured.size());
  }
  const auto line = [&](const Row &row) {
    const QString text = QStringLiteral("%1 | %2 | %3 | %4\n")
                             .arg(row.figure.leftJustified(widths[0]), row.target.leftJustified(widths[1]),
                                  row.measured.leftJustified(widths[2]), row.verdict);
    std::fputs(text.toUtf8().constData(), stdout);
  };
  line(head);
  std::fputs(QStringLiteral("%1-|-%2-|-%3-|-%4\n")
                 .arg(QString(widths[0], u'-'), QString(widths[1], u'-'), QString(widths[2], u'-'),
                      QString(head.verdict.size(), u'-'))
                 .toUtf8()
                 .constData(),
             stdout);
  for (const Row &row : rows) {
    line(row);
  }
}

int drive(int &argc, char **argv) {
  QApplication app(argc, argv);
  initialiseApplication(app);

  QTemporaryDir dir;
  if (!dir.isValid()) {
    throw Failure(QStringLiteral("no temporary folder: ") + dir.errorString());
  }
  const QByteArray sample = makeSampleProgram(kSampleBytes);
  const QString path = QDir(dir.path()).filePath(QStringLiteral("program.txt"));
  writeFile(path, sample);

  const Settings settings = makeSettings(QDir(dir.path()));
  // A settings file beside the executable is the program's own; the run
  // must neither read it (see benchPaths) nor leave one there.
  const QString ownIni = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kavrin.ini"));
  const bool ownIniBefore = QFileInfo::exists(ownIni);

  std::vector<Row> rows;
  // The children come first, while this process is still small to fork.
  progress("start-up");
  for (const Row &row : startUpFigures(settings)) {
    rows.push_back(row);
  }
  progress("memory");
  const std::vector<Row> memory = memoryFigures(settings.none, path);
  for (const Row &row : documentFigures(settings.none, path, sample)) {
    rows.push_back(row);
  }
  for (const Row &row : codecFigures(sample)) {
    rows.push_back(row);
  }
  for (const Row &row : completionFigures(QDir(dir.path()), settings.none)) {
    rows.push_back(row);
  }
  for (const Row &row : autoNumberFigures(QDir(dir.path()), settings.none)) {
    rows.push_back(row);
  }
  rows.insert(rows.end(), memory.begin(), memory.end());
  if (QFileInfo::exists(settings.none)) {
    throw Failure(QStringLiteral("a window wrote %1").arg(settings.none));
  }
  if (!ownIniBefore && QFileInfo::exists(ownIni)) {
    throw Failure(QStringLiteral("a window wrote %1").arg(ownIni));
  }

  std::printf("kavrin_bench: Qt %s, platform %s, %s build, sample %lld bytes in %lld lines\n\n", qVersion(),
              QGuiApplication::platformName().toUtf8().constData(), KAVRIN_BENCH_CONFIG,
              static_cast<long long>(sample.size()), static_cast<long long>(sample.count('\n')));
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

} // namespace
} // namespace kavrin::bench

int main(int argc, char *argv[]) {
  using namespace kavrin::bench;
  chooseOffscreenWithoutDisplay();
  try {
    if (argc == 1 || (argc == 2 && std::strcmp(argv[1], "--verbose") == 0)) {
      verbose = argc == 2;
      return drive(argc, argv);
    }
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
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--memory") == 0) {
      const QString iniFile = QString::fromLocal8Bit(argv[2]);
      const QString file = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString();
      return memoryChild(argc, argv, iniFile, file);
    }
    return usage();
  } catch (const std::exception &e) {
    std::fprintf(stderr, "kavrin_bench: %s\n", e.what());
    return 1;
  }
}
