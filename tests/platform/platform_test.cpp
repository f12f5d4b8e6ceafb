#include "platform/error.h"
#include "platform/file_filter.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "support/temp_dir.h"

#include <QSysInfo>

#include <gtest/gtest.h>

namespace kavrin {
namespace {

using testing::TempDir;

TEST(FileFilter, MasksListEveryLetterCaseAndEveryFile) {
  EXPECT_EQ(qtNameFilters("テキスト文書 (*.txt)|*.TXT|すべてのファイル (*.*)|*.*|BASIC|*.bas;*.txt"),
            (QStringList{"テキスト文書 (*.txt)", "すべてのファイル (*)", "BASIC (*.bas *.txt)"}));
  EXPECT_TRUE(qtNameFilters("no mask").isEmpty());
}

TEST(Paths, FileNameRules) {
  const QString path = "/tmp/a\\b:c.txt";
#ifdef Q_OS_WIN
  EXPECT_EQ(fileNamePart(path) + "|" + programFileNamePart("C:x.exe"), "c.txt|C:x.exe");
  EXPECT_TRUE(samePath("/a/B.TXT", "/a/b.txt"));
#else
  // "\\" and ":" are part of a Linux name; a converter may be set as a Windows path.
  EXPECT_EQ(fileNamePart(path) + "|" + programFileNamePart(path), "a\\b:c.txt|b:c.txt");
  EXPECT_EQ(programFileNamePart("C:\\a b\\txt2bas.exe"), "txt2bas.exe");
  EXPECT_EQ(samePath("/a/B.TXT", "/a/b.txt"), QSysInfo::productType() == u"macos");
  EXPECT_TRUE(samePath("/a/b.txt", "/a/b.txt"));
#endif
}

TEST(TextFile, ErrorsNameTheFileAndAWriteReplacesItWhole) {
  TempDir dir;
  for (const QString &path : {dir.path(QStringLiteral("missing.txt")), dir.root()}) {
    try {
      readTextFile(path);
      ADD_FAILURE() << "no error";
    } catch (const Error &e) {
      EXPECT_TRUE(e.message().contains(path)) << e.what();
    }
  }
  const QString path = dir.write(QStringLiteral("f.txt"), QByteArray(1000, 'x'));
  writeFileAtomically(path, "\x82\xA0\r\n");
  EXPECT_EQ(readTextFile(path), QStringLiteral("あ\n"));
  EXPECT_THROW(writeFileAtomically(dir.path(QStringLiteral("no/such/f.txt")), "x"), Error);
}

} // namespace
} // namespace kavrin
