#include "logic/function_keys.h"
#include "logic/settings_file.h"

#include "support/temp_dir.h"

#include <QDir>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace kavrin {
namespace {

TEST(KeyText, MarkersAndLineBreaksConvertBothWays) {
  const struct {
    const char16_t *stored, *text;
  } cases[] = {
      {u"RUN(ret)", u"RUN\r\n"},   {u"(ret)(ret)", u"\r\n\r\n"},    {u"((ret)", u"(\r\n"},
      {u"A(RET)B", u"A(RET)B"},    {u"AB(ret", u"AB(ret"},          {u"(re(ret)t)", u"(re\r\nt)"},
      {u"あ(ret)い", u"あ\r\nい"}, {u"A\rB\n(ret)", u"A\rB\n\r\n"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(QString::fromUtf16(c.stored).toStdString());
    EXPECT_EQ(convertKeyText(QString::fromUtf16(c.stored), false), QString::fromUtf16(c.text));
    EXPECT_EQ(convertKeyText(QString::fromUtf16(c.text), true), QString::fromUtf16(c.stored));
  }
  // Once stored, a typed "(ret)" cannot be told from a line break.
  EXPECT_EQ(convertKeyText("X(ret)", true), "X(ret)");
}

TEST(KeyText, TheFirstAndLastBytesAreTheFrame) {
  EXPECT_EQ(unframeKeyText("COLOR"), "OLO");
  EXPECT_EQ(unframeKeyText("(x)"), "x");
  EXPECT_EQ(unframeKeyText(""), "");
  // A double-byte character is two bytes of the frame's one.
  EXPECT_EQ(unframeKeyText("あ"), "");
  EXPECT_EQ(unframeKeyText(".あ."), "あ");
}

TEST(FunctionKeyIndex, ShiftAddsFiveAltDisablesCtrlIsIgnored) {
  EXPECT_EQ(functionKeyIndex(Qt::Key_F5, Qt::ShiftModifier), 9);
  EXPECT_EQ(functionKeyIndex(Qt::Key_F3, Qt::ControlModifier), 2);
  EXPECT_EQ(functionKeyIndex(Qt::Key_F3, Qt::AltModifier), -1);
  EXPECT_EQ(functionKeyIndex(Qt::Key_F6, Qt::NoModifier), -1);
  EXPECT_EQ(functionKeyIndex(Qt::Key_Escape, Qt::NoModifier), -1);
}

TEST(WindowPlacement, OffEveryScreenComesBackOnThePrimary) {
  const QRect primary(0, 0, 1920, 1040);
  const QList<QRect> both{primary, {1920, 0, 1280, 1024}};
  const QRect far(3000, 500, 536, 329);
  EXPECT_EQ(keepOnScreen(far, both, primary), far);
  EXPECT_EQ(keepOnScreen(far, {primary}, primary), QRect(692, 355, 536, 329));
  EXPECT_EQ(keepOnScreen({5000, 5000, 4000, 3000}, {primary}, primary), primary);
  EXPECT_EQ(keepOnScreen(far, {primary}, QRect()), far);
}

TEST(SettingsFilePath, BesideAWritableProgramWithItsListsElseInTheUsersConfiguration) {
  testing::TempDir dir;
  const QString own = dir.root() + "/";
  EXPECT_NE(settingsFilePath(own), own + "kavrin.ini");
  dir.write("qmcode.txt", "PRINT\r\n");
  EXPECT_EQ(settingsFilePath(own), own + "kavrin.ini");
#ifndef _WIN32
  // A folder that only says it is writable (Program Files on Windows): here, no file can be opened at all.
  rlimit saved{};
  getrlimit(RLIMIT_NOFILE, &saved);
  const rlimit none{0, saved.rlim_max};
  setrlimit(RLIMIT_NOFILE, &none);
  const QString unwritable = settingsFilePath(own);
  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_NE(unwritable, own + "kavrin.ini");
#endif
  const QString elsewhere = settingsFilePath("/nonexistent-folder/");
  EXPECT_TRUE(elsewhere.endsWith(QDir::toNativeSeparators("/kavrin/kavrin.ini")));
  EXPECT_FALSE(elsewhere.startsWith("/nonexistent-folder"));
}

} // namespace
} // namespace kavrin
