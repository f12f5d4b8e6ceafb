#include "support/file_size_limit.h"
#include "support/permissions_bind_root.h"
#include "support/window_fixture.h"

#include "platform/cp932.h"
#include "widgets/settings_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLineEdit>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace kavrin::testing {
namespace {

// The settings file a first start writes at its close, line by line; after
// "|", another value of the key that must read back and be written back.
// clang-format off
const char *const kFile[] = {
    "[FunctionKey]", "F1=.COLOR .|.A(ret)B.", "F2=.CLOAD\".", "F3=.GOTO .", "F4=.LIST .", "F5=.RUN(ret).",
    "F6=.SCREEN .", "F7=.CSAVE\".", "F8=.PRINT .", "F9=.PLAY .", "F10=.CONT(ret).|..",
    "[Mode]", "Mode=5|6",
    "[Auto]", "AutoAdd=10|-5", "AutoFlag=1|0",
    "[Convert]", "ConvProg=txt2bas.exe|C:\\tools\\csave.exe",
    "[Format]", "Wrap=0|1", "BackColor=-2147483643|-2147483633", "FontName=ＭＳ ゴシック|IPAGothic",
    "FontSize=10|14", "FontColor=0|255", "FontBold=0|1", "FontItalic=0|1",
    "[Window]", "Width=536|600", "Height=329|400", "Top=107|50", "Left=192|60",
    "[Recent]", "1=|/home/u/一.txt", "2=", "3=|/b.txt", "4="};
// clang-format on

QByteArray settingsFile(bool other) {
  QString file;
  for (const char *line : kFile) {
    const QStringList values = QString::fromUtf8(line).split(u'|');
    file +=
        (other && values.size() > 1 ? values[0].section(u'=', 0, 0) + u'=' + values[1] : values[0]) + u'\n';
  }
  return cp932::encode(file).bytes;
}

class SettingsTest : public WindowTest {
protected:
  void SetUp() override {} // each test writes its settings file first
};

TEST_F(SettingsTest, AFirstStartWritesEveryDefaultAtTheClose) {
  start();
  // ＭＳ ゴシック where the system has it, else a Japanese monospace stand-in.
  const QString family = QFontInfo(editor().font()).family();
  if (QFontDatabase::hasFamily("MS Gothic")) {
    EXPECT_TRUE(family == "ＭＳ ゴシック" || family == "MS Gothic") << family.toStdString();
  } else {
    const QFontMetrics metrics(editor().font());
    EXPECT_TRUE(metrics.inFontUcs4(U'あ') && metrics.inFontUcs4(U'漢') &&
                metrics.horizontalAdvance(u'i') == metrics.horizontalAdvance(u'W'))
        << family.toStdString();
  }
  EXPECT_TRUE(window->close());
  EXPECT_EQ(dir.read("kavrin.ini"), settingsFile(false));
}

TEST_F(SettingsTest, EveryKeyReadsBackAndAnUnchangedFileStaysByteForByte) {
  const QByteArray file =
      settingsFile(true).replace("[Convert]\r\n", "[Convert]\r\nLinePattern=E(\\d+)\r\n") +
      "[Check]\r\nFullWidth=0\r\n";
  dir.write("kavrin.ini", file);
  start();
  EXPECT_EQ(window->session().preferences().functionKeys[0], "A\r\nB");
  EXPECT_EQ(window->session().preferences().outputLinePattern, "E(\\d+)");
  EXPECT_FALSE(window->session().preferences().check.enabled(basic::checkRule("FullWidth")));
  EXPECT_TRUE(window->session().preferences().check.enabled(basic::checkRule("YenOverline")));
  EXPECT_EQ(editor().lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_EQ(std::pair(editor().color(), editor().fontColor()), std::pair(0x8000000FU, 255U));
  EXPECT_FALSE(editor().modified());
  EXPECT_TRUE(window->close());
  EXPECT_EQ(dir.read("kavrin.ini"), file);
}

TEST_F(SettingsTest, EachChangeIsWrittenAtOnceAsTheCloseWritesIt) {
  const QString program = dir.write("a.txt", "10 END\r\n");
  // OK in the settings dialog, and in the emulator's.
  const auto settingsOk = [this](bool panelOnly = true) {
    ui.modalScripts.push_back([panelOnly](QDialog &d) {
      static_cast<SettingsDialog &>(d).converterEdit()->setText("c.exe");
      static_cast<SettingsDialog &>(d).panelOnlyCheck()->setChecked(panelOnly);
      static_cast<SettingsDialog &>(d).confirm();
    });
  };
  const auto emulatorOk = [this] {
    ui.modalScripts.push_back([](QDialog &d) {
      d.findChild<QLineEdit *>()->setText("emu %1");
      d.accept();
    });
  };
  QFont bold;
  bold.setBold(true);
  const FontChoice boldRed{bold, 255};
  const struct {
    const char *item;
    std::function<void()> script;
    QString line;
    QString gone = {}; // a key back at its default leaves the file
  } rows[] = {
      {"settings", [&] { settingsOk(); }, "[Convert]\r\nConvProg=c.exe\r\nPanelOnly=1\r\n"},
      {"settings",
       [&] {
         settingsOk();
         window->command("settings")->trigger();
         settingsOk(false);
       },
       "ConvProg=c.exe\r\n", "PanelOnly"},
      {"settings",
       [this] {
         ui.modalScripts.push_back([](QDialog &d) {
           auto &dialog = static_cast<SettingsDialog &>(d);
           dialog.ruleCheck(basic::checkRule("FullWidth"))->setChecked(false);
           dialog.ruleCheck(basic::checkRule("Unreachable"))->setChecked(false);
           dialog.confirm();
         });
       },
       "[Check]\r\nFullWidth=0\r\nUnreachable=0\r\n"},
      {"emulatorSettings", emulatorOk, "[Emulator]\r\nCommand=emu %1\r\n"},
      {"wordWrap", [] {}, "Wrap=1\r\n"},
      {"auto", [] {}, "AutoFlag=0\r\n"},
      {"keywordColours", [] {}, "[Editor]\r\nHighlight=1\r\n"},
      {"resultPanel", [] {}, "[Panel]\r\nShown=1\r\n"},
      {"resultPanel", [this] { window->command("resultPanel")->trigger(); }, "[Mode]\r\n", "[Panel]"},
      {"showReferences", [this] { editor().setText("10 GOTO 10"); }, "[Panel]\r\nShown=1\r\nTab=1\r\n"},
      {"mode6", [] {}, "[Mode]\r\nMode=6\r\n"},
      {"background", [this] { ui.colorAnswers.push_back(0xC0E0F0); }, "BackColor=12640496\r\n"},
      {"font", [&] { ui.fontAnswers.push_back(boldRed); }, "FontColor=255\r\nFontBold=1\r\n"},
      {"open", [&] { ui.openAnswers.push_back(program); }, "[Recent]\r\n1=" + program + "\r\n"}};
  for (const auto &row : rows) {
    SCOPED_TRACE(row.item);
    QFile::remove(iniPath());
    start();
    row.script();
    window->command(row.item)->trigger();
    const QByteArray written = dir.read("kavrin.ini");
    EXPECT_TRUE(cp932::decodeVerbatim(written).contains(row.line));
    EXPECT_TRUE(row.gone.isEmpty() || !written.contains(row.gone.toLatin1()));
    EXPECT_TRUE(window->close());
    EXPECT_EQ(dir.read("kavrin.ini"), written);
    EXPECT_TRUE(ui.messageTexts().isEmpty());
  }
}

// Each write re-reads the file and changes only what this editor changed.
TEST_F(SettingsTest, TwoEditorsOnOneFileKeepEachOthersChoices) {
  dir.write("kavrin.ini", settingsFile(false));
  start();
  const auto other = createMainWindow(ui, {}, paths());
  ASSERT_TRUE(other);
  window->command("wordWrap")->trigger();
  other->command("auto")->trigger();
  QByteArray file = dir.read("kavrin.ini");
  dir.write("kavrin.ini", file.replace("FontSize=10", "FontSize=14")); // by a third
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(other->close());
  const QByteArray written = dir.read("kavrin.ini");
  for (const char *line : {"Wrap=1\r\n", "AutoFlag=0\r\n", "FontSize=14\r\n"}) {
    SCOPED_TRACE(line);
    EXPECT_TRUE(written.contains(line));
  }
}

TEST_F(SettingsTest, AFailedWriteIsToldOnceUntilAWriteSucceedsAndKeepsTheFile) {
  KAVRIN_NEEDS_FILE_SIZE_LIMIT();
  const QByteArray old = settingsFile(true);
  dir.write("kavrin.ini", old);
  start();
  const auto change = [this, &old](const char *item) {
    const FileSizeLimit full(old.size() / 2);
    window->command(item)->trigger();
  };
  change("wordWrap");
  ASSERT_EQ(ui.messageTexts().size(), 1); // told at the first failure
  change("auto");
  ASSERT_EQ(ui.messageTexts().size(), 1);
  EXPECT_TRUE(ui.messageTexts()[0].startsWith("設定を保存できませんでした。"));
  EXPECT_TRUE(ui.messageTexts()[0].contains(QDir::toNativeSeparators(iniPath())));
  EXPECT_EQ(dir.read("kavrin.ini"), old);
  EXPECT_EQ(QDir(dir.root()).entryList(QDir::Files | QDir::Hidden), QStringList{"kavrin.ini"});
  window->command("mode5")->trigger(); // written: the next failure is told again
  EXPECT_NE(dir.read("kavrin.ini"), old);
  {
    const FileSizeLimit full(old.size() / 2);
    window->command("mode6")->trigger();
    EXPECT_TRUE(window->close()); // the close goes ahead all the same
  }
  EXPECT_EQ(ui.messageTexts().size(), 2);
}

TEST_F(SettingsTest, AnUnreadableSettingsFileIsToldOnceAndLeftAsItIs) {
  const QByteArray mine = "[Mode]\r\nMode=6\r\n[Mine]\r\nkey=1\r\n";
#ifdef Q_OS_WIN
  // Another program holds it open, sharing nothing.
  const HANDLE held = CreateFileW(dir.write("kavrin.ini", mine).toStdWString().c_str(), GENERIC_READ, 0,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
#else
  QFile(dir.write("kavrin.ini", mine)).setPermissions({});
#endif
  {
    const PermissionsBindRoot bound;
    ASSERT_FALSE(QFile(iniPath()).open(QIODevice::ReadOnly));
    start();
    window->command("wordWrap")->trigger();
    EXPECT_TRUE(window->close());
  }
#ifdef Q_OS_WIN
  CloseHandle(held);
#endif
  ASSERT_EQ(ui.messageTexts().size(), 1);
  EXPECT_TRUE(ui.messageTexts()[0].startsWith("設定を読み込めませんでした。"));
  EXPECT_TRUE(ui.messageTexts()[0].contains(QDir::toNativeSeparators(iniPath())));
  EXPECT_EQ(dir.read("kavrin.ini"), mine);
}

} // namespace
} // namespace kavrin::testing
