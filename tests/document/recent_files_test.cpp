#include "document/recent_files.h"

#include <gtest/gtest.h>

namespace kavrin {
namespace {

QStringList list(std::initializer_list<const char *> entries) {
  QStringList l;
  for (const char *e : entries) {
    l << QString::fromUtf8(e);
  }
  return l;
}

TEST(RecentFiles, AKnownPathMovesToTheTopWithoutDuplicates) {
  QStringList recent = list({"/a", "/b", "/c", "/d"});
  addRecent(recent, QStringLiteral("/c"));
  EXPECT_EQ(recent, list({"/c", "/a", "/b", "/d"}));
  addRecent(recent, QStringLiteral("/c"));
  EXPECT_EQ(recent, list({"/c", "/a", "/b", "/d"}));
}

TEST(RecentFiles, ANewPathPushesTheLastEntryOut) {
  QStringList recent = list({"", "", "", ""});
  for (const char *p : {"/1", "/2", "/3", "/4", "/5"}) {
    addRecent(recent, QString::fromUtf8(p));
  }
  EXPECT_EQ(recent, list({"/5", "/4", "/3", "/2"}));
  // An empty slot in the middle goes when a new path comes.
  recent = list({"/a", "", "/c", "/d"});
  addRecent(recent, QStringLiteral("/e"));
  EXPECT_EQ(recent, list({"/e", "/a", "", "/c"}));
}

TEST(RecentFiles, LetterCaseCountsWhereTheFileSystemSaysSo) {
  QStringList recent = list({"/a/x.txt", "/b", "", ""});
  addRecent(recent, QStringLiteral("/b"));
  addRecent(recent, QStringLiteral("/A/X.TXT"));
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
  EXPECT_EQ(recent, list({"/A/X.TXT", "/b", "", ""}));
#else
  EXPECT_EQ(recent, list({"/A/X.TXT", "/b", "/a/x.txt", ""}));
#endif
}

TEST(RecentFiles, MenuItemsShowNumberAndFileName) {
  const RecentMenuItem first = recentMenuItem(0, QStringLiteral("/work/game.txt"));
  EXPECT_TRUE(first.visible && first.enabled);
  EXPECT_EQ(first.caption, QStringLiteral("&1 game.txt"));
  EXPECT_EQ(recentMenuItem(3, QStringLiteral("/x/R&D.txt")).caption, QStringLiteral("&4 R&&D.txt"));

  const RecentMenuItem placeholder = recentMenuItem(0, QString());
  EXPECT_TRUE(placeholder.visible);
  EXPECT_FALSE(placeholder.enabled);
  EXPECT_EQ(placeholder.caption, QStringLiteral("最近使ったファイル"));

  const RecentMenuItem hidden = recentMenuItem(2, QString());
  EXPECT_FALSE(hidden.visible);
  EXPECT_FALSE(hidden.caption.has_value());
}

TEST(Title, NamesTheFileOrTheProgram) {
  EXPECT_EQ(documentTitle(QString()), QStringLiteral("kavrin"));
  EXPECT_EQ(documentTitle(QStringLiteral("/basic/star.txt")), QStringLiteral("star.txt - kavrin"));
  EXPECT_EQ(documentTitle(QStringLiteral("rel.txt")), QStringLiteral("rel.txt - kavrin"));
}

} // namespace
} // namespace kavrin
