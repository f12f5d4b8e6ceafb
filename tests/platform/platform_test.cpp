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

TEST(Paths, FileNameRules) {
  const struct {
    const char *path;
    const char *native;  // fileNamePart
    const char *program; // programFileNamePart
  } rows[] = {
      {"game.txt", "game.txt", "game.txt"},
      {"/home/user/basic/star.txt", "star.txt", "star.txt"},
      {"dir/", "", ""},
#ifdef Q_OS_WIN
      {"C:\\a b\\txt2bas.exe", "txt2bas.exe", "txt2bas.exe"},
      {"C:game.txt", "game.txt", "C:game.txt"},
#else
      {"C:\\a b\\txt2bas.exe", "C:\\a b\\txt2bas.exe", "txt2bas.exe"},
      // A backslash or a colon is part of a Linux file name.
      {"/tmp/a\\b:c.txt", "a\\b:c.txt", "b:c.txt"},
#endif
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(fileNamePart(QString::fromUtf8(row.path)), QString::fromUtf8(row.native));
    EXPECT_EQ(programFileNamePart(QString::fromUtf8(row.path)), QString::fromUtf8(row.program));
  }
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
