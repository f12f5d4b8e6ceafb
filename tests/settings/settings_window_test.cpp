#include "support/window_fixture.h"

#include "platform/cp932.h"
#include "widgets/rich_edit.h"

#include <QAction>

namespace kavrin::testing {
namespace {

QByteArray sjis(const QString &text) { return cp932::encode(text).bytes; }

// The settings file of a first start closed without changes.
const QString kDefaults = QStringLiteral(
    "[FunctionKey]\nF1=.COLOR .\nF2=.CLOAD\".\nF3=.GOTO .\nF4=.LIST .\nF5=.RUN(ret).\n"
    "F6=.SCREEN .\nF7=.CSAVE\".\nF8=.PRINT .\nF9=.PLAY .\nF10=.CONT(ret).\n"
    "[Mode]\nMode=5\n[Auto]\nAutoAdd=10\nAutoFlag=1\n[Convert]\nConvProg=txt2bas.exe\n"
    "[Format]\nWrap=0\nBackColor=-2147483643\nFontName=ＭＳ ゴシック\nFontSize=10\nFontColor=0\n"
    "FontBold=0\nFontItalic=0\n[Window]\nWidth=536\nHeight=329\nTop=107\nLeft=192\n"
    "[Recent]\n1=\n2=\n3=\n4=\n");

class SettingsTest : public WindowTest {
protected:
  void SetUp() override {} // each test writes its settings file first

  void restart() {
    form.reset();
    start();
  }
  void closeWindow() {
    form->close();
    EXPECT_FALSE(form->isVisible());
  }
};

TEST_F(SettingsTest, AFirstStartClosedWithoutChangesWritesEveryDefault) {
  start();
  EXPECT_EQ(form->outerGeometry(), QRect(192, 107, 536, 329));
  closeWindow();
  EXPECT_EQ(dir.read("kavrin.ini"), sjis(kDefaults));
}

TEST_F(SettingsTest, EveryValueComesBackAndAnUnchangedFileStaysByteForByte) {
  const QString file =
      QStringLiteral("; kept as it is\r\n[Window]\r\nLeft = 60\r\nTop=50\r\nWidth=600\r\nHeight=400\r\n\r\n"
                     "[FunctionKey]\r\nF1=.A(ret)B.\r\nF6=\" RUN \"\r\nF10=..\r\n"
                     "[mode]\r\nmode=6\r\n[Auto]\r\nAutoAdd=-5\r\nAutoFlag=0\r\n"
                     "[Convert]\r\nConvProg=C:\\tools\\csave.exe\r\n"
                     "[Format]\r\nWrap=1\r\nBackColor=-2147483633\r\nFontName=IPAGothic\r\nFontSize=14\r\n"
                     "FontColor=255\r\nFontBold=1\r\nFontItalic=1\r\n"
                     "[Recent]\r\n1=/home/u/一.txt\r\n2=\r\n3=/b.txt\r\n4=\r\n[Other]\r\nx=1\r\n"
                     "[FunctionKey]\r\nF2=.ignored.\r\n");
  dir.write("kavrin.ini", sjis(file));
  start();
  EXPECT_TRUE(form->Mode6->isChecked());
  EXPECT_TRUE(form->Keywords.contains("OPEN"));
  EXPECT_EQ(form->FunctionKeys[0], "A\r\nB");
  EXPECT_EQ(form->FunctionKeys[1], "CLOAD\"");
  EXPECT_EQ(form->FunctionKeys[5], "RUN");
  EXPECT_EQ(form->FunctionKeys[9], "");
  EXPECT_EQ(form->AutoAdd, -5);
  EXPECT_FALSE(form->AUTO1->isChecked());
  EXPECT_EQ(form->ConvProg, "C:\\tools\\csave.exe");
  EXPECT_TRUE(form->Wrap1->isChecked());
  EXPECT_EQ(editor().lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_EQ(editor().color(), 0x8000000FU);
  EXPECT_EQ(editor().font().family(), "IPAGothic");
  EXPECT_EQ(editor().font().pointSize(), 14);
  EXPECT_TRUE(editor().font().bold());
  EXPECT_TRUE(editor().font().italic());
  EXPECT_EQ(editor().fontColor(), 255U);
  EXPECT_EQ(form->outerGeometry(), QRect(60, 50, 600, 400));
  EXPECT_EQ(form->RecentFiles, QStringList({"/home/u/一.txt", "", "/b.txt", ""}));
  EXPECT_FALSE(editor().modified());
  closeWindow();

  // Only what the program always writes is added: the keys it never found.
  QString expected = file;
  expected.replace("Left = 60", "Left=60");
  expected.replace("F6=\" RUN \"", "F6=.RUN.");
  expected.replace("F10=..\r\n",
                   "F10=..\r\nF2=.CLOAD\".\r\nF3=.GOTO .\r\nF4=.LIST .\r\nF5=.RUN(ret).\r\nF7=.CSAVE\".\r\n"
                   "F8=.PRINT .\r\nF9=.PLAY .\r\n");
  expected.replace("mode=6", "Mode=6");
  expected.replace("Left=60\r\nTop=50\r\nWidth=600\r\nHeight=400\r\n",
                   "Left=60\r\nTop=50\r\nWidth=600\r\nHeight=400\r\n");
  EXPECT_EQ(cp932::decodeVerbatim(dir.read("kavrin.ini")), expected);
}

TEST_F(SettingsTest, OddValuesReadAsTheProgramDefinesThem) {
  dir.write("kavrin.ini", "[FunctionKey]\r\nF1=COLOR\r\nF2=.\r\nF3=\r\n[Mode]\r\nMode=1\r\n"
                          "[Auto]\r\nAutoFlag=2\r\nAutoAdd=abc\r\n[Recent]\r\n2=/only/two.txt\r\n");
  start();
  EXPECT_EQ(form->FunctionKeys[0], "OLO");
  EXPECT_EQ(form->FunctionKeys[1], "");
  EXPECT_EQ(form->FunctionKeys[2], "");
  EXPECT_EQ(form->FunctionKeys[3], "LIST ");
  EXPECT_TRUE(form->Mode6->isChecked());
  EXPECT_TRUE(form->AUTO1->isChecked());
  EXPECT_EQ(form->AutoAdd, 10);
  EXPECT_EQ(form->RecentFiles, QStringList({"", "/only/two.txt", "", ""}));
  closeWindow();
  const QString written = cp932::decodeVerbatim(dir.read("kavrin.ini"));
  EXPECT_TRUE(written.contains("Mode=6\r\n"));
  EXPECT_TRUE(written.contains("AutoFlag=1\r\n"));
  EXPECT_TRUE(written.contains("F1=.OLO.\r\n"));
}

TEST_F(SettingsTest, ACancelledCloseWritesNothing) {
  start();
  form->FunctionKeys[0] = "CHANGED";
  type("10 END");
  ui.answers.push_back(MsgResult::Cancel);
  form->close();
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(QFile::exists(iniPath()));
  // Answered No, the close goes ahead and writes.
  ui.answers.push_back(MsgResult::No);
  closeWindow();
  EXPECT_TRUE(cp932::decodeVerbatim(dir.read("kavrin.ini")).contains("F1=.CHANGED.\r\n"));
}

TEST_F(SettingsTest, ChangesMadeWhileRunningSurviveARestart) {
  start();
  form->Mode6->trigger();
  form->AUTO1->trigger();
  form->Wrap1->trigger();
  FontChoice font{QFont("IPAGothic", 12), 0x00008000};
  font.font.setUnderline(true);
  ui.fontAnswers.push_back(font);
  form->Font1->trigger();
  ui.colorAnswers.push_back(TColor{0x00C0C0C0});
  form->Back1->trigger();
  closeWindow();
  restart();
  EXPECT_TRUE(form->Mode6->isChecked());
  EXPECT_FALSE(form->AUTO1->isChecked());
  EXPECT_TRUE(form->Wrap1->isChecked());
  EXPECT_EQ(editor().font().family(), "IPAGothic");
  EXPECT_EQ(editor().font().pointSize(), 12);
  EXPECT_FALSE(editor().font().underline()); // not a setting
  EXPECT_EQ(editor().fontColor(), 0x00008000U);
  EXPECT_EQ(editor().color(), 0x00C0C0C0U);
  // A face chosen in the dialog is saved by its own name.
  closeWindow();
  EXPECT_TRUE(cp932::decodeVerbatim(dir.read("kavrin.ini")).contains("FontName=IPAGothic\r\n"));
  restart();
  ui.fontAnswers.push_back(FontChoice{QFont("DejaVu Sans", 11), 0});
  form->Font1->trigger();
  closeWindow();
  EXPECT_TRUE(cp932::decodeVerbatim(dir.read("kavrin.ini")).contains("FontName=DejaVu Sans\r\n"));
}

TEST_F(SettingsTest, AResizeIsSaved) {
  start();
  form->resize(640, 400);
  const QSize outer = form->frameGeometry().size();
  closeWindow();
  const QString written = cp932::decodeVerbatim(dir.read("kavrin.ini"));
  EXPECT_TRUE(
      written.contains(QStringLiteral("Width=%1\r\nHeight=%2\r\n").arg(outer.width()).arg(outer.height())))
      << written.toStdString();
}

TEST_F(SettingsTest, APlacementOffEveryScreenIsBroughtBack) {
  dir.write("kavrin.ini", "[Window]\r\nLeft=100000\r\nTop=100000\r\nWidth=300\r\nHeight=200\r\n");
  start();
  const QRect outer = form->outerGeometry();
  EXPECT_EQ(outer.size(), QSize(300, 200));
  EXPECT_TRUE(form->screen()->availableGeometry().contains(outer));
}

TEST_F(SettingsTest, AnUnwritableSettingsFileDoesNotHoldUpTheClose) {
  QDir(dir.root()).mkdir("kavrin.ini"); // a folder stands in the file's place
  start();
  closeWindow();
  EXPECT_TRUE(QFileInfo(iniPath()).isDir());
}

} // namespace
} // namespace kavrin::testing
