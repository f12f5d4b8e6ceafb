#include "settings/function_keys.h"
#include "settings/settings_file.h"

#include "support/qt_printers.h"
#include "support/temp_dir.h"

#include <QDir>

#include <gtest/gtest.h>

namespace kavrin {
namespace {

TEST(ConvertKeyText, MarkersBecomeLineBreaks) {
  const struct {
    const char16_t *stored;
    const char16_t *text;
  } cases[] = {
      {u"RUN(ret)", u"RUN\r\n"},   {u"(ret)(ret)", u"\r\n\r\n"},
      {u"((ret)", u"(\r\n"},       {u"A(RET)B", u"A(RET)B"},
      {u"AB(ret", u"AB(ret"},      {u"(re(ret)t)", u"(re\r\nt)"},
      {u"あ(ret)い", u"あ\r\nい"}, {u"", u""},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(ConvertKeyText(QString::fromUtf16(c.stored), false), QString::fromUtf16(c.text));
  }
}

TEST(ConvertKeyText, LineBreaksBecomeMarkers) {
  EXPECT_EQ(ConvertKeyText("RUN\r\n", true), "RUN(ret)");
  EXPECT_EQ(ConvertKeyText("A\rB\n\r\n", true), "A\rB\n(ret)");
  // Once stored, a typed "(ret)" cannot be told from a line break.
  EXPECT_EQ(ConvertKeyText(ConvertKeyText("X(ret)", true), false), "X\r\n");
}

TEST(FramedKeyText, TheFirstAndLastBytesAreTheFrame) {
  EXPECT_EQ(unframeKeyText("COLOR"), "OLO");
  EXPECT_EQ(unframeKeyText("."), "");
  EXPECT_EQ(unframeKeyText(".."), "");
  EXPECT_EQ(unframeKeyText(""), "");
  EXPECT_EQ(unframeKeyText(". GOTO ."), " GOTO ");
  // A double-byte character is two bytes of the frame's one.
  EXPECT_EQ(unframeKeyText("あ"), "");
  EXPECT_EQ(unframeKeyText(".あ."), "あ");
  EXPECT_EQ(frameKeyText(" A "), ". A .");
}

TEST(FramedKeyText, DefaultsAreStoredAsTheSettingsFileHoldsThem) {
  const std::array<QString, 10> expected{".COLOR .",  ".CLOAD\".", ".GOTO .",  ".LIST .", ".RUN(ret).",
                                         ".SCREEN .", ".CSAVE\".", ".PRINT .", ".PLAY .", ".CONT(ret)."};
  EXPECT_EQ(defaultStoredFunctionKeys(), expected);
}

TEST(FunctionKeyIndex, ShiftAddsFiveAltDisablesCtrlIsIgnored) {
  EXPECT_EQ(functionKeyIndex(Qt::Key_F3, Qt::NoModifier), 2);
  EXPECT_EQ(functionKeyIndex(Qt::Key_F3, Qt::ShiftModifier), 7);
  EXPECT_EQ(functionKeyIndex(Qt::Key_F3, Qt::AltModifier), -1);
  EXPECT_EQ(functionKeyIndex(Qt::Key_F3, Qt::ShiftModifier | Qt::AltModifier), -1);
  EXPECT_EQ(functionKeyIndex(Qt::Key_F3, Qt::ControlModifier), 2);
  EXPECT_EQ(functionKeyIndex(Qt::Key_F1, Qt::NoModifier), 0);
  EXPECT_EQ(functionKeyIndex(Qt::Key_F5, Qt::ShiftModifier), 9);
  EXPECT_EQ(functionKeyIndex(Qt::Key_F6, Qt::NoModifier), -1);
  EXPECT_EQ(functionKeyIndex(Qt::Key_A, Qt::NoModifier), -1);
}

TEST(WindowPlacement, OffEveryScreenComesBackOnThePrimary) {
  const QRect primary(0, 0, 1920, 1040);
  const QRect second(1920, 0, 1280, 1024);
  const QList<QRect> screens{primary, second};
  // On a screen, even partly: kept as saved.
  EXPECT_EQ(keepOnScreen({192, 107, 536, 329}, screens, primary), QRect(192, 107, 536, 329));
  EXPECT_EQ(keepOnScreen({3000, 500, 536, 329}, screens, primary), QRect(3000, 500, 536, 329));
  EXPECT_EQ(keepOnScreen({-500, -100, 536, 329}, screens, primary), QRect(-500, -100, 536, 329));
  // The second monitor is gone.
  const QRect moved = keepOnScreen({3000, 500, 536, 329}, {primary}, primary);
  EXPECT_EQ(moved.size(), QSize(536, 329));
  EXPECT_TRUE(primary.contains(moved));
  // Too large for the primary: it shrinks to fit.
  const QRect shrunk = keepOnScreen({5000, 5000, 4000, 3000}, {primary}, primary);
  EXPECT_EQ(shrunk, primary);
}

TEST(SettingsFilePath, BesideAWritableProgramElseInTheUsersConfiguration) {
  testing::TempDir dir;
  const QString own = dir.root() + "/";
  // A writable folder without the keyword lists is not a copy's own folder
  // (an installed program run by root, say).
  EXPECT_NE(settingsFilePath(own), own + "kavrin.ini");
  dir.write("qmcode.txt", "PRINT\r\n");
  EXPECT_EQ(settingsFilePath(own), own + "kavrin.ini");
  const QString elsewhere = settingsFilePath("/nonexistent-folder/");
  EXPECT_TRUE(elsewhere.endsWith(QDir::toNativeSeparators("/kavrin/kavrin.ini")));
  EXPECT_FALSE(elsewhere.startsWith("/nonexistent-folder"));
}

} // namespace
} // namespace kavrin
