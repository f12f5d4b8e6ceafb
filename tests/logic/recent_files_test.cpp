#include "logic/recent_files.h"

#include "logic/settings_table.h"
#include "platform/profile.h"

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

// Another editor wrote `file` while this one went from `kept` to `mine`.
TEST(RecentFiles, ASaveMergesTheListAsAWhole) {
  struct Row {
    const char *name;
    QStringList kept, mine, file, written;
  };
  const QStringList abcd = {"/a", "/b", "/c", "/d"}, eabc = {"/e", "/a", "/b", "/c"};
  const Row rows[] = {
      {"both opened", abcd, {"/b", "/a", "/c", "/d"}, eabc, {"/b", "/e", "/a", "/c"}},
      {"nothing opened here", abcd, abcd, eabc, eabc},
      {"only here", abcd, eabc, abcd, eabc},
      {"the same file", abcd, {"/c", "/a", "/b", "/d"}, {"/c", "/e", "/a", "/b"}, {"/c", "/e", "/a", "/b"}},
      {"from empty slots",
       {"/a", "", "", ""},
       {"/c", "/b", "/a", ""},
       {"/d", "/a", "", ""},
       {"/c", "/b", "/d", "/a"}},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    Profile ini;
    SettingValues onFile, kept, mine;
    setRecent(onFile, row.file);
    onFile.write(ini, kept);
    setRecent(kept, row.kept);
    setRecent(mine, row.mine);
    mergeRecent(mine, kept, SettingValues::read(ini));
    mine.write(ini, kept);
    EXPECT_EQ(recentOf(SettingValues::read(ini)), row.written);
  }
}

TEST(RecentFiles, MenuItemsShowNumberAndFileName) {
  EXPECT_EQ(shown(3, "/x/R&D.txt"), std::tuple(true, true, QString("&4 R&&D.txt")));
}

} // namespace
} // namespace kavrin
