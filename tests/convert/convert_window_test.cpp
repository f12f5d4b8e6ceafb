#include "convert/convert_fixture.h"

#include "convert/convert_command.h"
#include "convert/emulator_tool.h"
#include "logic/emulator_command.h"
#include "platform/cp932.h"
#include "widgets/emulator_dialog.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QSysInfo>
#include <QTimer>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace kavrin::testing {
namespace {

const QString kFailed = QStringLiteral("エラーが発生しました");
const QString kCancelled = QStringLiteral("変換を取り消しました");
const QString kNotSaved = QStringLiteral("一旦セーブしないと変換できません");

TEST_F(ConvertTest, TheImageIsChosenThenTheConverterRunsInTheMode) {
  setConverter(dir.converter("txt2bas.exe"));
  const QString image = dir.path("my ゲーム.cas"); // whatever the code page, through the command line
  convertTo(image);
  EXPECT_EQ(ui.saveCalls.at(0).title, "テープイメージに変換");
  EXPECT_EQ(ui.saveCalls[0].filter, "テープイメージ (*.cas)|*.CAS|すべてのファイル (*.*)|*.*");
  EXPECT_EQ(ui.saveCalls[0].fileName, dir.path("プロ.cas"));
  EXPECT_FALSE(ui.saveCalls[0].askBeforeReplacing); // the image of the last conversion is replaced
  EXPECT_EQ(dir.read("txt2bas.exe.args"), QDir::toNativeSeparators(program + '\n' + image + '\n').toUtf8());
  EXPECT_EQ(ui.progressTexts, QStringList({"変換中..."}));
  window->command("mode6")->trigger();
  convertTo(image);
  EXPECT_EQ(dir.read("txt2bas.exe.args"),
            QDir::toNativeSeparators("-6\n" + program + '\n' + image + '\n').toUtf8());
  EXPECT_EQ(ui.messageTexts(), QStringList({kDone, kDone})); // standard output is not shown
  const ResultPanel *panel = window->findChild<ResultPanel *>();
  ASSERT_TRUE(panel != nullptr);
  EXPECT_FALSE(panel->isVisible()); // with the boxes, no output: no panel
  ui.saveAnswers.push_back(std::nullopt);
  window->command("saveAs")->trigger();
  EXPECT_EQ(ui.saveCalls.at(2).fileName, image);
  EXPECT_EQ(ui.saveCalls[2].filter,
            "テキスト文書 (*.txt)|*.TXT|BASIC プログラム (*.bas)|*.bas|BASIC ソース (*.bsrc)|*.bsrc|"
            "すべてのファイル (*.*)|*.*");
  EXPECT_EQ(ui.saveCalls[2].title, QString());
  EXPECT_TRUE(ui.saveCalls[2].askBeforeReplacing); // the program is not written over the image unasked
}

TEST_F(ConvertTest, ErrorOutputIsShownInBoundedPiecesThenTheResult) {
  const QByteArray error = cp932::encode(QStringLiteral("行 10: 文法エラー")).bytes;
  setConverter(dir.converter("txt2bas.exe", "err " + error + "\nexit 1\n"));
  convertTo(dir.path("プロ.cas"));
  setConverter(dir.converter("csave.exe", "put " + QByteArray(10000, 'x')));
  convertTo(dir.path("プロ.cas"));
  QStringList texts = ui.messageTexts();
  EXPECT_EQ(texts.mid(0, 2), QStringList({"行 10: 文法エラー\n", kFailed}));
  EXPECT_EQ(texts.takeLast(), kDone);
  EXPECT_EQ(texts.mid(2).join(QString()), QString(10000, u'x'));
  for (const QString &piece : texts) {
    EXPECT_LE(piece.size(), 4096);
  }
}

// Whether the process ends within five seconds; one dead but not yet reaped counts as ended.
bool processEnds(qint64 id) {
  return QTest::qWaitFor(
      [id] {
#ifdef Q_OS_WIN
        const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
        const bool ended = process == nullptr || WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        return (process == nullptr || CloseHandle(process)) && ended;
#else
        QFile stat(QStringLiteral("/proc/%1/stat").arg(id));
        return !stat.open(QIODevice::ReadOnly) || stat.readAll().split(')').value(1).startsWith(" Z");
#endif
      },
      5000);
}

// The real window: a box stays open longer than any timer of the window runs.
// Cancel ends the converter and what it started (a job object on Windows).
TEST_F(ConvertTest, AHangingConverterCanBeCancelledAndHoldsTheWindowMeanwhile) {
  setConverter(dir.converter("txt2bas.exe", "child\nsleep 60000\n")); // tells its id and its child's
  ui.realProgress = true;
  ui.boxOpenMs = {6000};
  ui.cancelAfterMs = 900;
  QTimer::singleShot(100, window.get(), [this] { EXPECT_FALSE(window->close()); });
  convertTo(dir.path("プロ.cas"));
  const QStringList texts = ui.messageTexts();
  ASSERT_EQ(texts.size(), 2) << texts.join(u'|').toStdString();
  EXPECT_EQ(texts[1], kCancelled);
  for (const QString &id : texts[0].split(u' ')) {
    EXPECT_TRUE(processEnds(id.trimmed().toLongLong())) << id.toStdString();
  }
  EXPECT_EQ(lastRow(), kCancelled);
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_FALSE(ui.messages[0].underProgress);
  EXPECT_TRUE(ui.progressShownSinceBox); // once the box was closed
  EXPECT_TRUE(window->close());
}

TEST_F(ConvertTest, TheProgressWindowNeverCoversABoxNorOutlivesTheConverter) {
  setConverter(dir.converter("txt2bas.exe", "err warning 1\nsleep 100\nerr warning 2\n"));
  ui.realProgress = true;
  ui.boxOpenMs = {600, 600};
  convertTo(dir.path("プロ.cas"));
  ASSERT_GE(ui.messages.size(), 2U);
  for (const auto &message : ui.messages) {
    EXPECT_FALSE(message.underProgress) << message.text.toStdString();
  }
  EXPECT_FALSE(ui.progressShownSinceBox);
}

TEST_F(ConvertTest, EachRunGivesRowsOfTheCommandLineTheOutputLinkedToLinesAndTheResult) {
  const QByteArray shiftJis = cp932::encode(QStringLiteral("行 10: 文法エラー")).bytes;
  const auto line = [](int number) { return std::optional(basic::LineNumber(number)); };
  const struct {
    QByteArray body;
    QString pattern;
    QList<OutputRow> rows;
  } runs[] = {
      {"err 120行目: 文法エラー\nput " + shiftJis + "\nexit 2\n",
       "",
       {{"120行目: 文法エラー", line(120)},
        {"行 10: 文法エラー", line(10)},
        {kFailed + " (終了コード 2)", {}}}},
      {"err E7 at line 5\n", "E(\\d+)", {{"E7 at line 5", line(7)}, {kDone, {}}}},
      {"err line 5\ncrash\n",
       "(",
       {{OutputLineFinder("(").problem(), {}},
        {"line 5", line(5)},
        {kFailed + " (変換プログラムが異常終了しました)", {}}}},
  };
  const QString image = dir.path("プロ.cas");
  for (const auto &run : runs) {
    SCOPED_TRACE(run.body.constData());
    const qsizetype before = rows().size();
    setPreference(&Preferences::outputLinePattern, run.pattern);
    const QString path = dir.converter("変換 ツール/txt2bas.exe", run.body); // whatever the code page
    setConverter(path);
    convertTo(image);
    const QList<OutputRow> added = rows(before);
    ASSERT_FALSE(added.isEmpty());
    EXPECT_TRUE(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d $").match(added[0].text.left(9)).hasMatch());
    EXPECT_EQ(added[0].text.mid(9),
              joinCommandLine({QDir::toNativeSeparators(path), QDir::toNativeSeparators(program),
                               QDir::toNativeSeparators(image)}));
    EXPECT_EQ(added.mid(1), run.rows);
    // Until the next run, a row leads to line 10, the program's only one, or
    // the next higher, as Ctrl+G finds: none for 120.
    ASSERT_TRUE(window->findChild<PanelHost *>()->existing() != nullptr);
    const ResultRows &tab = window->findChild<PanelHost *>()->existing()->rows(ResultTab::Output);
    for (qsizetype i = 1; i < added.size(); ++i) {
      const int row = static_cast<int>(before + i);
      const bool found = added[i].line && added[i].line->value() <= 10;
      EXPECT_EQ(tab.lineOf(row), found ? 0 : -1) << added[i].text.toStdString();
    }
  }
  // The output's boxes, as many as the pieces read, read both encodings.
  EXPECT_TRUE(ui.messageTexts().join(QString()).startsWith("120行目: 文法エラー\n行 10: 文法エラー"));
}

TEST_F(ConvertTest, RunInTheEmulatorConvertsThenStartsItWithTheImage) {
  setConverter(dir.converter("txt2bas.exe"));
  auto &tool = *window->findChild<EmulatorTool *>();
  const QString emu = dir.converter("my emu.exe", "exit 0\n");
  ui.modalScripts.push_back([](QDialog &dialog) { // not set: the settings come first
    for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
      if (button->text() == "キャンセル") {
        button->click();
      }
    }
  });
  window->command("emulatorRun")->trigger();
  ui.modalScripts.push_back([](QDialog &dialog) { dialog.accept(); }); // an empty command line
  window->command("emulatorRun")->trigger();
  ui.modalScripts.push_back([&tool](QDialog &dialog) {
    dialog.findChild<QLineEdit *>()->setText("emu \"x");
    static_cast<EmulatorDialog &>(dialog).browseButton()->click(); // refused: no argument is lost
    EXPECT_EQ(dialog.findChild<QLineEdit *>()->text(), "emu \"x");
    dialog.accept();
  });
  window->command("emulatorSettings")->trigger();
  window->command("emulatorRun")->trigger(); // nothing is converted for a command line that cannot run
  EXPECT_TRUE(ui.saveCalls.empty() && ui.openCalls.empty());
  const QString unclosed =
      "エミュレータを起動できません。\nエミュレータのコマンドラインの引用符が閉じていません。";
  EXPECT_EQ(ui.messageTexts(),
            QStringList({"エミュレータのコマンドラインが設定されていません。", unclosed, unclosed}));
  ui.messages.clear();
  ui.openAnswers = {emu};
  ui.modalScripts.push_back([&emu](QDialog &dialog) {
    auto *line = dialog.findChild<QLineEdit *>();
    EXPECT_EQ(dialog.focusWidget(), line);
    line->setText("old -tape %1 -x");
    static_cast<EmulatorDialog &>(dialog).browseButton()->click(); // the program word only
    EXPECT_EQ(line->text(), joinCommandLine({emu}) + " -tape %1 -x");
    QTest::keyClick(line, Qt::Key_Return);
  });
  window->command("emulatorSettings")->trigger();
  const QString image = dir.path("my game's.cas");
  ui.saveAnswers.push_back(image);
  window->command("emulatorRun")->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(emu + ".args"); }, 5000));
  EXPECT_EQ(dir.read("my emu.exe.args"), ("-tape\n" + QDir::toNativeSeparators(image) + "\n-x\n").toUtf8());
  EXPECT_EQ(ui.messageTexts(), QStringList({kDone}));

  for (const char *line : {"emu-\u00e9 %1", "kavrin-no-such-emulator %1"}) {
    ui.modalScripts.push_back([line](QDialog &dialog) {
      dialog.findChild<QLineEdit *>()->setText(QString::fromUtf8(line));
      dialog.accept();
    });
  }
  window->command("emulatorSettings")->trigger(); // OK takes no line the settings file would cut
  EXPECT_EQ(ui.messageTexts().last(),
            "エミュレータのコマンドラインに、Shift-JIS で保存できない文字「\u00e9」があります。");
  window->command("emulatorRun")->trigger();
  EXPECT_EQ(ui.messageTexts().last(),
            "エミュレータを起動できません。\nプログラムが見つかりません: kavrin-no-such-emulator");
  const QString notRunnable = dir.write("emu.sh", "#!/bin/sh\n"); // not executable
  setEmulator(notRunnable);
  window->command("emulatorRun")->trigger();
  EXPECT_TRUE(
      ui.messageTexts().last().startsWith("エミュレータを起動できません。\nプログラムを起動できません: " +
                                          QDir::toNativeSeparators(notRunnable)));
}

TEST_F(ConvertTest, OnlyAConverterThatWritesTheImageSucceedsAndRunsTheEmulator) {
  const QString unwritten = QStringLiteral("変換プログラムがテープイメージを書きませんでした");
  const QString emu = dir.converter("emu.exe", "log\nexit 0\n");
  setEmulator(joinCommandLine({emu}) + " %1");
  const QString image = dir.path("プロ.cas");
  const struct {
    QByteArray body;
    bool oldImage; // one of an earlier run is there
    bool panelOnly;
    QString box;
    QString row = {}; // the box's text unless given
  } runs[] = {
      {"exit 0", true, false, unwritten}, {"exit 0", false, false, unwritten},
      {"exit 0", true, true, unwritten},  {"exit 1", true, false, kFailed, kFailed + " (終了コード 1)"},
      {"", true, false, kDone},           {"", false, true, kDone},
  };
  int started = 0;
  for (const auto &run : runs) {
    SCOPED_TRACE(run.body.toStdString() + (run.oldImage ? " old image" : "") +
                 (run.panelOnly ? " panel" : ""));
    QFile::remove(image);
    if (run.oldImage) {
      dir.write("プロ.cas", "OLD");
    }
    setPreference(&Preferences::outputInPanelOnly, run.panelOnly);
    setConverter(dir.converter("txt2bas.exe", run.body));
    if (ui.saveCalls.empty()) {
      ui.saveAnswers.push_back(image);
    }
    ui.messages.clear();
    const int beeps = ui.beeps;
    window->command("emulatorRun")->trigger();
    EXPECT_EQ(ui.messageTexts(), run.panelOnly ? QStringList() : QStringList{run.box});
    EXPECT_EQ(lastRow(), run.row.isEmpty() ? run.box : run.row);
    const bool done = run.box == kDone;
    EXPECT_EQ(ui.beeps - beeps, run.panelOnly && !done ? 1 : 0);
    started += done ? 1 : 0;
  }
  // Each success started the emulator on the image, and nothing else did.
  const auto log = [&] {
    QFile file(dir.path("emu.exe.log"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  };
  EXPECT_TRUE(QTest::qWaitFor([&] { return log().count('\n') >= started; }, 5000));
  QTest::qWait(300);
  EXPECT_EQ(log(), (QDir::toNativeSeparators(image) + '\n').repeated(started).toUtf8());
}

TEST_F(ConvertTest, ASuccessAfterTheSaveWasDeclinedSaysTheEditsAreNotInTheImage) {
  setConverter(dir.converter("txt2bas.exe"));
  const QString note = QStringLiteral("(保存されていない変更は変換に含まれていません)");
  const struct {
    MsgResult answer;
    bool panelOnly;
    QStringList boxes;
    QString row;
  } runs[] = {
      {MsgResult::No, false, {kSaveQuestion, kDone + u'\n' + note}, kDone + u' ' + note},
      {MsgResult::No, true, {kSaveQuestion}, kDone + u' ' + note},
      {MsgResult::Yes, false, {kSaveQuestion, kDone}, kDone},
  };
  for (const auto &run : runs) {
    SCOPED_TRACE(run.row.toStdString());
    setPreference(&Preferences::outputInPanelOnly, run.panelOnly);
    type("1");
    ui.answers.push_back(run.answer);
    ui.messages.clear();
    convertTo(dir.path("プロ.cas"));
    EXPECT_EQ(ui.messageTexts(), run.boxes);
    EXPECT_EQ(lastRow(), run.row);
  }
}

TEST_F(ConvertTest, WithTheOutputInThePanelOnlyNoBoxShowsAndAFailureBeeps) {
  setPreference(&Preferences::outputInPanelOnly, true);
  setConverter(dir.converter("txt2bas.exe", "err line 1\nexit 1\n"));
  convertTo(dir.path("プロ.cas"));
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_EQ(lastRow(), kFailed + " (終了コード 1)");
  ASSERT_TRUE(window->findChild<ResultPanel *>() != nullptr);
  const ResultPanel &panel = *window->findChild<ResultPanel *>();
  EXPECT_TRUE(panel.isVisible() && panel.visibleTab() == ResultTab::Output);
  setConverter(dir.converter("txt2bas.exe", "err warning\n"));
  const QString emu = dir.converter("emu.exe", "exit 0\n");
  setEmulator(joinCommandLine({emu}) + " %1");
  // The image chosen for the failed conversion is the run's: nothing asked.
  QTest::keyClick(&editor(), Qt::Key_F5, Qt::ControlModifier); // the menu's key: F5's text is not typed
  EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(emu + ".args"); }, 5000));
  EXPECT_EQ(editor().text(), "10 END\n");
  QFile::remove(emu + ".args");
  QTest::keyClick(&editor(), Qt::Key_F5, Qt::ControlModifier); // again: nothing is asked, no box
  EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(emu + ".args"); }, 5000));
  EXPECT_EQ(ui.messageTexts(), QStringList());
  EXPECT_EQ(ui.beeps, 1);
  // An unsupported converter is told before the tape image is asked for.
  setConverter("C:\\tools\\bas2cas.exe");
  window->command("convert")->trigger();
  EXPECT_EQ(ui.saveCalls.size(), 1U);
  EXPECT_EQ(ui.messageTexts(), QStringList({"対応していない変換プログラムです: C:\\tools\\bas2cas.exe\n"
                                            "使える変換プログラムは txt2bas.exe と csave.exe です。"}));
  // A converter that cannot start: its reason in the panel, a beep, no box.
  ui.messages.clear();
  setConverter(dir.path("gone/txt2bas.exe"));
  convertTo(dir.path("プロ.cas"));
  EXPECT_EQ(ui.messageTexts(), QStringList());
  EXPECT_EQ(ui.beeps, 2);
  EXPECT_EQ(lastRow(),
            "プログラムが見つかりません: " + QDir::toNativeSeparators(dir.path("gone/txt2bas.exe")));
}

TEST_F(ConvertTest, ASaveThatFailsBeforeTheEmulatorRunsIsToldAndStartsNothing) {
  setConverter(dir.converter("txt2bas.exe"));
  const QString emu = dir.converter("emu.exe", "exit 0\n");
  setEmulator(joinCommandLine({emu}) + " %1");
  editor().insertPlainText(QStringLiteral("\u00e9")); // no Shift-JIS code
  ui.answers = {MsgResult::Yes};
  window->command("emulatorRun")->trigger();
  const QStringList texts = ui.messageTexts();
  ASSERT_EQ(texts.size(), 2);
  EXPECT_EQ(texts[0], kSaveQuestion);
  EXPECT_TRUE(texts[1].startsWith("Shift-JIS で保存できない文字が 1 個あります。"));
  EXPECT_TRUE(editor().modified());
  EXPECT_EQ(dir.read("プロ.txt"), "10 END\r\n");
  EXPECT_TRUE(ui.saveCalls.empty());
  EXPECT_FALSE(QFile::exists(emu + ".args"));
}

TEST_F(ConvertTest, RefusalsAndConvertersThatCannotStartAreReported) {
  window->command("new")->trigger();
  window->command("convert")->trigger();
  type("10 END");
  ui.answers = {MsgResult::No, MsgResult::Yes};
  window->command("convert")->trigger();
  EXPECT_EQ(ui.messageTexts(), QStringList({kNotSaved, kSaveQuestion, kNotSaved}));
  // Saved at the prompt, the new name is proposed with ".cas".
  ui.saveAnswers = {dir.path("new.txt")};
  convertTo(dir.path("new.txt")); // the program's own file is never the image
  EXPECT_EQ(ui.saveCalls.at(1).fileName, dir.path("new.cas"));
  EXPECT_TRUE(!ui.messages.empty() && ui.messages.back().text.contains("同じ"));
  EXPECT_EQ(dir.read("new.txt"), "10 END");
  setConverter("C:\\tools\\bas2cas.exe");
  convertTo(dir.path("p.cas"));
  EXPECT_EQ(ui.messageTexts().last(), "対応していない変換プログラムです");
  EXPECT_FALSE(QFile::exists(dir.path("p.cas")));
  setConverter(dir.path("txt2bas.exe"));
  convertTo(dir.path("プロ.cas"));
  // A Windows program runs through wine, here not on the path.
  setConverter(dir.write("csave.exe", QByteArray("MZ") + QByteArray(100, '\0')));
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", dir.path("none").toLocal8Bit());
  convertTo(dir.path("プロ.cas"));
  qputenv("PATH", path);
  const QStringList texts = ui.messageTexts().mid(6);
  ASSERT_EQ(texts.size(), 2);
  EXPECT_TRUE(texts[0].startsWith("CreateProcess failed.\n") && texts[0].contains("txt2bas.exe"));
  EXPECT_TRUE(texts[1].startsWith("CreateProcess failed.\n") &&
              texts[1].contains(QSysInfo::productType() == "windows" ? "csave.exe" : "wine"));
}

} // namespace
} // namespace kavrin::testing
