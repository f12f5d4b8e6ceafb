#include "support/file_size_limit.h"
#include "support/window_fixture.h"

#include "platform/cp932.h"

#include <QAction>

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
  EXPECT_TRUE(window->close());
  EXPECT_EQ(dir.read("kavrin.ini"), settingsFile(false));
}

TEST_F(SettingsTest, EveryKeyReadsBackAndAnUnchangedFileStaysByteForByte) {
  dir.write("kavrin.ini", settingsFile(true));
  start();
  EXPECT_EQ(window->session().preferences().functionKeys[0], "A\r\nB");
  EXPECT_EQ(editor().lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_FALSE(editor().modified());
  EXPECT_TRUE(window->close());
  EXPECT_EQ(dir.read("kavrin.ini"), settingsFile(true));
}

TEST_F(SettingsTest, ASettingsFileThatCannotBeWrittenIsNamedAndKept) {
  const QByteArray old = settingsFile(true);
  dir.write("kavrin.ini", old);
  start();
  Preferences longer = window->session().preferences();
  longer.functionKeys[0] = QString(100, u'x');
  window->session().setPreferences(longer);
  {
    const FileSizeLimit full(old.size() / 2);
    EXPECT_TRUE(window->close()); // the close goes ahead all the same
  }
  ASSERT_EQ(ui.messageTexts().size(), 1);
  EXPECT_TRUE(ui.messageTexts()[0].startsWith("設定を保存できませんでした。"));
  EXPECT_TRUE(ui.messageTexts()[0].contains(iniPath()));
  EXPECT_EQ(dir.read("kavrin.ini"), old);
  EXPECT_EQ(QDir(dir.root()).entryList(QDir::Files | QDir::Hidden), QStringList{"kavrin.ini"});
}

TEST_F(SettingsTest, AResizeIsSaved) {
  start();
  window->resize(640, 400);
  const QSize outer = window->frameGeometry().size();
  EXPECT_TRUE(window->close());
  const QString written = cp932::decodeVerbatim(dir.read("kavrin.ini"));
  EXPECT_TRUE(
      written.contains(QStringLiteral("Width=%1\r\nHeight=%2\r\n").arg(outer.width()).arg(outer.height())))
      << written.toStdString();
}

} // namespace
} // namespace kavrin::testing
