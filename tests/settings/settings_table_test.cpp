#include "settings/settings_table.h"

#include "platform/profile.h"

#include <gtest/gtest.h>

namespace kavrin {
namespace {

// Every key comes back from the file as written, each to its own place.
TEST(SettingsTable, EveryKeyRoundTripsToItsOwnValue) {
  SettingValues written;
  for (int i = 0; i < kSettingCount; ++i) {
    const auto s = static_cast<Setting>(i);
    if (std::holds_alternative<int>(settingKeys()[i].byDefault)) {
      written.set(s, -1000 - i);
    } else {
      written.set(s, QStringLiteral("値%1").arg(i));
    }
  }
  Profile ini(QByteArray("[Other]\r\nkept=1\r\n"));
  written.write(ini);
  EXPECT_TRUE(ini.bytes().startsWith("[Other]\r\nkept=1\r\n[FunctionKey]\r\nF1="));
  const SettingValues read = SettingValues::read(ini);
  for (int i = 0; i < kSettingCount; ++i) {
    const auto s = static_cast<Setting>(i);
    SCOPED_TRACE(settingKeys()[i].key.toStdString());
    if (std::holds_alternative<int>(settingKeys()[i].byDefault)) {
      EXPECT_EQ(read.number(s), -1000 - i);
    } else {
      EXPECT_EQ(read.text(s), QStringLiteral("値%1").arg(i));
    }
  }
}

} // namespace
} // namespace kavrin
