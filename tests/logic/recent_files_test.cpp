#include "logic/recent_files.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kavrin {
namespace {

QStringList added(QStringList recent, const char *path) {
  addRecent(recent, QString::fromUtf8(path));
  return recent;
}

auto shown(int index, const char *path) {
  const RecentMenuItem item = recentMenuItem(index, QString::fromUtf8(path));
  return std::tuple(item.visible, item.enabled, item.caption.value_or("(kept)"));
}

TEST(RecentFiles, TheAddedPathGoesOnTopOfFour) {
  EXPECT_EQ(added({"/a", "/b", "/c", "/d"}, "/c"), QStringList({"/c", "/a", "/b", "/d"}));
  EXPECT_EQ(added({"/c", "/a", "/b", "/d"}, "/c"), QStringList({"/c", "/a", "/b", "/d"}));
  EXPECT_EQ(added({"/4", "/3", "/2", "/1"}, "/5"), QStringList({"/5", "/4", "/3", "/2"}));
  EXPECT_EQ(added({}, "/x"), QStringList({"/x", "", "", ""}));
  // An empty slot in the middle stays; the last entry drops off.
  EXPECT_EQ(added({"/a", "", "/c", "/d"}, "/e"), QStringList({"/e", "/a", "", "/c"}));
}

TEST(RecentFiles, MenuItemsShowNumberAndFileName) {
  EXPECT_EQ(shown(0, "/work/game.txt"), std::tuple(true, true, QString("&1 game.txt")));
  EXPECT_EQ(shown(3, "/x/R&D.txt"), std::tuple(true, true, QString("&4 R&&D.txt")));
  EXPECT_EQ(shown(0, ""), std::tuple(true, false, QString("最近使ったファイル")));
  EXPECT_EQ(shown(2, ""), std::tuple(false, false, QString("(kept)")));
  EXPECT_EQ(documentTitle(QString()), "kavrin");
  EXPECT_EQ(documentTitle("/basic/star.txt"), "star.txt - kavrin");
}

} // namespace
} // namespace kavrin
