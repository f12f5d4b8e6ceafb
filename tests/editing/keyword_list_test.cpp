#include "editing/keyword_list.h"

#include "support/qt_printers.h"
#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace kavrin {
namespace {

TEST(KeywordListFormat, Parse) {
  const std::pair<QByteArray, QStringList> cases[] = {
      {"ABS\r\nAND\nASC\rATN", {"ABS", "AND", "ASC", "ATN"}},
      {"ABS\r\r\nAND\n\nASC\n", {"ABS", "", "AND", "", "ASC"}},
      {"", {}},
      {"\r\n", {""}},
      {" PRINT \r\nprint\r\nPRINT\r\nPRINT\r\n; REM", {" PRINT ", "print", "PRINT", "PRINT", "; REM"}},
      {QByteArray("ABS\r\nAN\0D\r\nASC\r\n", 16), {"ABS", "AN"}},
      {"PRINT\x82\xa0\r\n\x83\x4c\r\n", {"PRINTあ", "キ"}},
  };
  for (const auto &[bytes, entries] : cases) {
    SCOPED_TRACE(bytes.toStdString());
    EXPECT_EQ(parseKeywordList(bytes), entries);
  }
}

TEST(KeywordListFiles, AreFoundBesideTheProgramThenInTheInstalledDataFolder) {
  testing::TempDir dir;
  QDir(dir.root()).mkpath("bin");
  QDir(dir.root()).mkpath("share/kavrin");
  const QString exeDir = dir.root() + "/bin/";
  dir.write("share/kavrin/qmcode.txt", "RUN\r\n");
  EXPECT_EQ(loadKeywordList(keywordFilePath(exeDir, "qmcode.txt")), QStringList({"RUN"}));
  dir.write("bin/qmcode.txt", "LIST\r\n");
  EXPECT_EQ(loadKeywordList(keywordFilePath(exeDir, "qmcode.txt")), QStringList({"LIST"}));
  // Missing everywhere: the place beside the program, for the error to name.
  EXPECT_EQ(keywordFilePath(exeDir, "qmsrcode.txt"), exeDir + "qmsrcode.txt");
}

// The shipped lists must suit completion: capitals in ascending byte order.
TEST(ShippedKeywordLists, AreSortedCapitalWordsWithCrLf) {
  for (const char *name : {"/qmcode.txt", "/qmsrcode.txt"}) {
    QFile file(QCoreApplication::applicationDirPath() + name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.endsWith("\r\n") && bytes.count("\r\n") == bytes.count('\n') &&
                bytes == bytes.toUpper());
    const QStringList list = parseKeywordList(bytes);
    EXPECT_GT(list.size(), 100);
    EXPECT_EQ(std::adjacent_find(list.begin(), list.end(),
                                 [](const QString &a, const QString &b) {
                                   return a.toLatin1() >= b.toLatin1() || b.isEmpty();
                                 }),
              list.end())
        << name;
  }
}

} // namespace
} // namespace kavrin
