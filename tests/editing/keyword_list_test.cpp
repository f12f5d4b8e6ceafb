#include "editing/keyword_list.h"

#include "platform/error.h"
#include "support/qt_printers.h"
#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

namespace kavrin {
namespace {

QStringList parse(const char *bytes, qsizetype size = -1) {
  return parseKeywordList(QByteArrayView(bytes, size < 0 ? qsizetype(qstrlen(bytes)) : size));
}

TEST(KeywordListFormat, EveryKindOfLineBreakEndsAnEntry) {
  EXPECT_EQ(parse("ABS\r\nAND\nASC\rATN"), QStringList({"ABS", "AND", "ASC", "ATN"}));
  EXPECT_EQ(parse("ABS\r\r\nAND"), QStringList({"ABS", "", "AND"}));
  EXPECT_EQ(parse("ABS\n\nAND\n"), QStringList({"ABS", "", "AND"}));
}

TEST(KeywordListFormat, AFinalLineBreakAddsNoEntry) {
  EXPECT_EQ(parse("PRINT\r\n"), QStringList({"PRINT"}));
  EXPECT_EQ(parse("PRINT"), QStringList({"PRINT"}));
  EXPECT_EQ(parse(""), QStringList());
  EXPECT_EQ(parse("\r\n"), QStringList({""}));
}

TEST(KeywordListFormat, EntriesStayExactlyAsWritten) {
  EXPECT_EQ(parse(" PRINT \r\nprint\r\nPRINT\r\nPRINT\r\n; REM"),
            QStringList({" PRINT ", "print", "PRINT", "PRINT", "; REM"}));
}

TEST(KeywordListFormat, ANulByteEndsTheText) {
  EXPECT_EQ(parse("ABS\r\nAN\0D\r\nASC\r\n", 16), QStringList({"ABS", "AN"}));
}

TEST(KeywordListFormat, ShiftJisEntriesAreDecoded) {
  EXPECT_EQ(parse("PRINT\x82\xa0\r\n\x83\x4c\r\n"), QStringList({"PRINTあ", "キ"}));
}

TEST(KeywordListFiles, AreFoundBesideTheProgramThenInTheInstalledDataFolder) {
  testing::TempDir dir;
  QDir(dir.root()).mkpath("bin");
  QDir(dir.root()).mkpath("share/kavrin");
  const QString exeDir = dir.root() + "/bin/";
  dir.write("share/kavrin/qmcode.txt", "RUN\r\n");
  EXPECT_EQ(QDir::fromNativeSeparators(keywordFilePath(exeDir, "qmcode.txt")),
            dir.root() + "/share/kavrin/qmcode.txt");
  dir.write("bin/qmcode.txt", "LIST\r\n");
  EXPECT_EQ(keywordFilePath(exeDir, "qmcode.txt"), exeDir + "qmcode.txt");
  EXPECT_EQ(loadKeywordList(keywordFilePath(exeDir, "qmcode.txt")), QStringList({"LIST"}));
  // Missing everywhere: the error names the place beside the program.
  EXPECT_EQ(keywordFilePath(exeDir, "qmsrcode.txt"), exeDir + "qmsrcode.txt");
  try {
    loadKeywordList(keywordFilePath(exeDir, "qmsrcode.txt"));
    FAIL() << "a missing list loaded";
  } catch (const Error &e) {
    EXPECT_TRUE(e.message().contains(exeDir + "qmsrcode.txt")) << e.message().toStdString();
  }
}

// The lists that ship with the program must work with the completion rules:
// capitals, ascending byte order, one run per beginning.
TEST(ShippedKeywordLists, AreSortedCapitalWordsWithCrLf) {
  const QString exeDir = QCoreApplication::applicationDirPath() + "/";
  QStringList lists[2];
  int n = 0;
  for (const char *name : {"qmcode.txt", "qmsrcode.txt"}) {
    QFile file(exeDir + name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.endsWith("\r\n")) << name;
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n')) << name;
    const QStringList entries = parseKeywordList(bytes);
    EXPECT_GE(entries.size(), 100) << name;
    for (int i = 0; i < entries.size(); ++i) {
      EXPECT_FALSE(entries[i].isEmpty()) << name;
      EXPECT_EQ(entries[i], entries[i].toUpper()) << name;
      if (i > 0) {
        EXPECT_LT(entries[i - 1].toLatin1(), entries[i].toLatin1()) << name << " at " << i;
      }
    }
    lists[n++] = entries;
  }
  for (const QString &word : lists[0]) {
    EXPECT_TRUE(lists[1].contains(word)) << word.toStdString();
  }
  EXPECT_GT(lists[1].size(), lists[0].size());
  for (const char *word :
       {"ABS", "COLOR", "CLOAD", "CSAVE", "GOTO", "LIST", "PLAY", "PRINT", "RUN", "SCREEN", "VAL"}) {
    EXPECT_TRUE(lists[0].contains(word)) << word;
  }
}

} // namespace
} // namespace kavrin
