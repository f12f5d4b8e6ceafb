#include "platform/error.h"
#include "platform/file_filter.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace kavrin {
namespace {

using testing::TempDir;

TEST(FileFilter, MasksListEveryLetterCaseAndEveryFile) {
  const QStringList text =
      qtNameFilters(QStringLiteral("テキスト文書 (*.txt)|*.TXT|すべてのファイル (*.*)|*.*"));
  EXPECT_EQ(text,
            (QStringList{QStringLiteral("テキスト文書 (*.txt)"), QStringLiteral("すべてのファイル (*)")}));
  const QStringList image =
      qtNameFilters(QStringLiteral("テープイメージ (*.cas)|*.CAS|すべてのファイル (*.*)|*.*"));
  EXPECT_EQ(image.first(), QStringLiteral("テープイメージ (*.cas)"));
  // A description without its masks gets them; several masks stay several.
  EXPECT_EQ(qtNameFilters(QStringLiteral("BASIC|*.bas;*.txt")),
            QStringList{QStringLiteral("BASIC (*.bas *.txt)")});
  EXPECT_TRUE(qtNameFilters(QString()).isEmpty());
}

TEST(Paths, FileNamePartFollowsThePlatformSeparators) {
  EXPECT_EQ(fileNamePart(QStringLiteral("game.txt")), QStringLiteral("game.txt"));
  EXPECT_EQ(fileNamePart(QStringLiteral("/home/user/basic/star.txt")), QStringLiteral("star.txt"));
  EXPECT_EQ(fileNamePart(QStringLiteral("dir/")), QString());
#ifdef Q_OS_WIN
  EXPECT_EQ(fileNamePart(QStringLiteral("C:\\work\\game.txt")), QStringLiteral("game.txt"));
  EXPECT_EQ(fileNamePart(QStringLiteral("C:game.txt")), QStringLiteral("game.txt"));
#else
  // A backslash or a colon is part of a Linux file name.
  EXPECT_EQ(fileNamePart(QStringLiteral("/tmp/a\\b:c.txt")), QStringLiteral("a\\b:c.txt"));
#endif
}

TEST(Paths, SamePathIgnoresCaseOnlyWhereTheFileSystemDoes) {
  EXPECT_TRUE(samePath(QStringLiteral("/a/b.txt"), QStringLiteral("/a/b.txt")));
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
  EXPECT_TRUE(samePath(QStringLiteral("/a/B.TXT"), QStringLiteral("/a/b.txt")));
#else
  EXPECT_FALSE(samePath(QStringLiteral("/a/B.TXT"), QStringLiteral("/a/b.txt")));
#endif
}

TEST(TextFile, ReadErrorsNameTheFile) {
  TempDir dir;
  try {
    readTextFile(dir.path(QStringLiteral("missing.txt")));
    FAIL() << "no error";
  } catch (const Error &e) {
    EXPECT_TRUE(e.message().contains(QStringLiteral("missing.txt"))) << e.what();
  }
  EXPECT_THROW(readTextFile(dir.path(QString())), Error); // a folder
}

TEST(TextFile, AFailedWriteLeavesTheOldFileWhole) {
  TempDir dir;
  const QString path = dir.write(QStringLiteral("old.txt"), "old text\r\n");
  {
    // The disk fills up halfway through the new text.
    testing::FileSizeLimit limit(4096);
    EXPECT_THROW(writeFileAtomically(path, QByteArray(100000, 'n')), Error);
  }
  EXPECT_EQ(dir.read(QStringLiteral("old.txt")), QByteArray("old text\r\n"));
  EXPECT_EQ(QDir(dir.path(QString())).entryList(QDir::Files), QStringList{QStringLiteral("old.txt")});
}

TEST(TextFile, WriteReplacesTheWholeFile) {
  TempDir dir;
  const QString path = dir.write(QStringLiteral("f.txt"), QByteArray(1000, 'x'));
  writeFileAtomically(path, "short");
  EXPECT_EQ(dir.read(QStringLiteral("f.txt")), QByteArray("short"));
  EXPECT_THROW(writeFileAtomically(dir.path(QStringLiteral("no/such/dir/f.txt")), "x"), Error);
}

} // namespace
} // namespace kavrin
