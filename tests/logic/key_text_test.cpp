#include "logic/function_keys.h"
#include "logic/settings_file.h"
#include "logic/settings_table.h"
#include "platform/profile.h"

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
  EXPECT_EQ(unframeKeyText(".."), "");
  EXPECT_EQ(unframeKeyText(""), "");
  // A double-byte character is two bytes of the frame's one.
  EXPECT_EQ(unframeKeyText("あ"), "");
  EXPECT_EQ(unframeKeyText(".あ."), "あ");
  EXPECT_EQ(frameKeyText(" A "), ". A .");
}

TEST(FunctionKeyIndex, ShiftAddsFiveAltDisablesCtrlIsIgnored) {
  EXPECT_EQ(functionKeyIndex(Qt::Key_F1, Qt::NoModifier), 0);
  EXPECT_EQ(functionKeyIndex(Qt::Key_F5, Qt::NoModifier), 4);
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
  // A folder that only says it is writable (Program Files on Windows): here,
  // no file can be opened at all.
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

// Every key of the settings file by its name, with its default and the
// setting it holds: stored files rely on them.  Swapped keys read each
// other's values.
TEST(SettingKeys, EachKeyHoldsItsOwnSetting) {
  const auto rule = [](const char *tag) {
    int row = 0;
    while (std::string_view(basic::kCheckRules[row].tag) != tag) {
      ++row;
    }
    return checkSetting(basic::ruleAt(row));
  };
  // clang-format off
  const struct { const char *section, *key, *byDefault; Setting setting; } keys[] = {
      {"FunctionKey", "F1", ".COLOR .", Setting::F1}, {"FunctionKey", "F2", ".CLOAD\".", functionKeySetting(1)},
      {"FunctionKey", "F3", ".GOTO .", functionKeySetting(2)}, {"FunctionKey", "F4", ".LIST .", functionKeySetting(3)},
      {"FunctionKey", "F5", ".RUN(ret).", functionKeySetting(4)},
      {"FunctionKey", "F6", ".SCREEN .", functionKeySetting(5)},
      {"FunctionKey", "F7", ".CSAVE\".", functionKeySetting(6)},
      {"FunctionKey", "F8", ".PRINT .", functionKeySetting(7)}, {"FunctionKey", "F9", ".PLAY .", functionKeySetting(8)},
      {"FunctionKey", "F10", ".CONT(ret).", functionKeySetting(9)},
      {"Mode", "Mode", "5", Setting::Mode}, {"Auto", "AutoAdd", "10", Setting::AutoAdd},
      {"Auto", "AutoFlag", "1", Setting::AutoFlag}, {"Convert", "ConvProg", "txt2bas.exe", Setting::ConvProg},
      {"Format", "Wrap", "0", Setting::Wrap}, {"Format", "BackColor", "-2147483643", Setting::BackColor},
      {"Format", "FontName", "ＭＳ ゴシック", Setting::FontName}, {"Format", "FontSize", "10", Setting::FontSize},
      {"Format", "FontColor", "0", Setting::FontColor}, {"Format", "FontBold", "0", Setting::FontBold},
      {"Format", "FontItalic", "0", Setting::FontItalic}, {"Window", "Width", "536", Setting::Width},
      {"Window", "Height", "329", Setting::Height}, {"Window", "Top", "107", Setting::Top},
      {"Window", "Left", "192", Setting::Left}, {"Recent", "1", "", Setting::Recent1},
      {"Recent", "2", "", recentSetting(1)}, {"Recent", "3", "", recentSetting(2)}, {"Recent", "4", "", recentSetting(3)},
      {"Editor", "Highlight", "0", Setting::Highlight}, {"Emulator", "Command", "", Setting::EmulatorCommand},
      {"Panel", "Shown", "0", Setting::PanelShown}, {"Panel", "Height", "0", Setting::PanelHeight},
      {"Panel", "Tab", "0", Setting::PanelTab}, {"Convert", "PanelOnly", "0", Setting::OutputInPanelOnly},
      {"Convert", "LinePattern", "", Setting::OutputLinePattern},
      {"Check", "DuplicateNumber", "1", rule("[重複]")}, {"Check", "FullWidth", "1", rule("[全角]")},
      {"Check", "YenOverline", "1", rule("[¥‾]")}, {"Check", "TwoCharNames", "1", rule("[変数名]")},
      {"Check", "NextWithoutFor", "1", rule("[NEXT]")}, {"Check", "ForWithoutNext", "1", rule("[FOR]")},
      {"Check", "GosubWithoutReturn", "1", rule("[GOSUB]")}, {"Check", "Unreachable", "1", rule("[到達不能]")},
  };
  // clang-format on
  ASSERT_EQ(std::size(keys), static_cast<std::size_t>(kSettingCount));
  Profile file;
  for (std::size_t i = 0; i < std::size(keys); ++i) {
    file.writeString(QString::fromUtf8(keys[i].section), QString::fromUtf8(keys[i].key),
                     QString::number(i + 100));
  }
  const SettingValues defaults, read = SettingValues::read(file);
  for (std::size_t i = 0; i < std::size(keys); ++i) {
    SCOPED_TRACE(keys[i].key);
    const bool number =
        std::holds_alternative<int>(settingKeys()[static_cast<std::size_t>(keys[i].setting)].byDefault);
    const auto stored = [&](const SettingValues &values) {
      return number ? QString::number(values.number(keys[i].setting)) : values.text(keys[i].setting);
    };
    EXPECT_EQ(stored(read), QString::number(i + 100));
    EXPECT_EQ(stored(defaults), QString::fromUtf8(keys[i].byDefault));
  }
}

} // namespace
} // namespace kavrin
