#include "logic/auto_number.h"
#include "logic/completion.h"
#include "logic/keyword_list.h"

#include "support/temp_dir.h"
#include "support/text_buffer.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <tuple>
#include <utility>

namespace kavrin {
namespace {

using testing::TextBuffer;

// "[...]" marks the selection, "[]" the caret.
TextBuffer marked(const QString &text) {
  const auto start = static_cast<int>(text.indexOf(u'['));
  TextBuffer edit(QString(text).remove(u'[').remove(u']'));
  edit.select(start, static_cast<int>(text.indexOf(u']')) - start - 1);
  return edit;
}

QString shown(const TextBuffer &edit) {
  return QString(edit.text()).insert(edit.selStart() + edit.selLength(), u']').insert(edit.selStart(), u'[');
}

const QStringList kP{"PLAY", "POKE", "PRESET", "PRINT", "PSET"};

// Text, list, steps, the text shown after each step, beeps.  Steps: T = TAB, B = Shift+TAB, X = the list
// emptied; other keys end the cycle: + = Shift, < = Backspace, ^ = Esc, A = the A key.
const std::tuple<QString, QStringList, const char *, QStringList, int> kCases[] = {
    {"10 pri[]", {"PLAY", "PRINT", "RUN"}, "TTT", {"10 pri[NT]", "10 pri[]", "10 pri[NT]"}, 1},
    {"P[]", kP, "TTTTTTT", {"P[LAY]", "P[OKE]", "P[RESET]", "P[RINT]", "P[SET]", "P[]", "P[LAY]"}, 1},
    {"P[]", kP, "BBBBBBB", {"P[SET]", "P[RINT]", "P[RESET]", "P[OKE]", "P[LAY]", "P[]", "P[SET]"}, 1},
    {"P[]", kP, "TBBTT", {"P[LAY]", "P[]", "P[SET]", "P[]", "P[LAY]"}, 2},
    // No letter before the caret, or none that begins an entry: the whole cycle only beeps.
    {"A$[]", {"PRINT", "A"}, "TTB", {"A$[]", "A$[]", "A$[]"}, 3},
    {"10 XYZ[]", kP, "TT", {"10 XYZ[]", "10 XYZ[]"}, 2},
    // The longest tail of the word that begins an entry.
    {"THENPRI[]", {"PRINT", "THEN", "NPRX"}, "TT", {"THENPRI[NT]", "THENPRI[]"}, 1},
    {"THENPRI[]", {"PRINT", "NPRINX"}, "T", {"THENPRI[NX]"}, 0},
    {"C\nPRI[]", {"CPRINT", "PRINT"}, "T", {"C\nPRI[NT]"}, 0},
    {"あPRI[]", {"PRINT"}, "T", {"あPRI[NT]"}, 0},
    // Entries: capitals only, the first run only, empty ones never.
    {"pri[]", {"print", "Print", "PRINT"}, "TT", {"pri[NT]", "pri[]"}, 1},
    {"az[]", {"AZX"}, "T", {"az[X]"}, 0},
    {"PR[]", {"PRESET", "PRINT", "RUN", "PROC"}, "TTT", {"PR[ESET]", "PR[INT]", "PR[]"}, 1},
    {"P[]", {"", "PRINT", ""}, "TT", {"P[RINT]", "P[]"}, 1},
    {"RUN[]", {"RUN", "RUNX"}, "TT", {"RUN[]", "RUN[X]"}, 0},
    {"PR[]", {"PRINT ", "PRINTあ"}, "TT", {"PR[INT ]", "PR[INTあ]"}, 0},
    {"PRI[xyz]", {"PRINT"}, "T", {"PRI[NT]"}, 0},
    {"PR[]", {"PRINT"}, "TXT^T", {"PR[INT]", "PR[INT]", "PR[INT]", "PR[INT]", "PR[INT]"}, 2},
    // Shift does not end the cycle; Backspace and Esc leave the tail
    // selected; a failed cycle leaves the user's selection.
    {"PRI[]", {"PRINT"}, "T+T", {"PRI[NT]", "PRI[NT]", "PRI[]"}, 1},
    {"PRI[]", {"PRINT"}, "TAT", {"PRI[NT]", "PRINT[]", "PRINT[]"}, 0},
    {"PRI[]", {"PRINT"}, "T<T", {"PRI[NT]", "PRI[NT]", "PRI[NT]"}, 0},
    {"PRI[]", {"PRINT"}, "T^", {"PRI[NT]", "PRI[NT]"}, 0},
    {"[10 ]PRINT", {"RUN"}, "TA", {"[10 ]PRINT", "[10 ]PRINT"}, 1},
    // L: TAB in a source document, the list its labels: a name after '*'.
    {"GOTO *lo[]", {"LOOP", "LOW", "MAIN"}, "LLL", {"GOTO *lo[OP]", "GOTO *lo[W]", "GOTO *lo[]"}, 1},
    {"GOTO *[]", {"A1", "B_2"}, "LB", {"GOTO *[A1]", "GOTO *[]"}, 1},
    {"*A_[]", {"A_1", "A_2"}, "L", {"*A_[1]"}, 0},
    {"PR[]", {"PRINT"}, "L", {"PR[INT]"}, 0},
    // A '*' after an operand multiplies: the letters before the caret are
    // a keyword's, and A_ begins none.
    {"X=2*A_[]", {"A_1"}, "L", {"X=2*A_[]"}, 1},
    {"X=(A)*A_[]", {"A_1"}, "L", {"X=(A)*A_[]"}, 1},
    {"10 ON X GOTO *A,*A_[]", {"A_1"}, "L", {"10 ON X GOTO *A,*A_[1]"}, 0},
};

TEST(Completion, StepsThroughTheRing) {
  for (const auto &[text, list, steps, expected, expectedBeeps] : kCases) {
    SCOPED_TRACE(text.toStdString() + " " + steps);
    TextBuffer edit = marked(text);
    QStringList keywords = list;
    CompletionState state;
    int beeps = 0;
    QStringList seen;
    for (const char *s = steps; *s != '\0'; ++s) {
      if (*s == 'T' || *s == 'B' || *s == 'L') {
        const bool labels = *s == 'L' || (*s == 'B' && state.CompLabels);
        const LabelWords words{keywords, basic::KeywordMatcher()};
        beeps += completeKeyword(edit, keywords, *s == 'B', state, labels ? &words : nullptr) ? 1 : 0;
      } else if (*s == 'X') {
        keywords.clear();
      } else {
        static const QHash<char, int> keys{
            {'+', Qt::Key_Shift}, {'<', Qt::Key_Backspace}, {'^', Qt::Key_Escape}};
        endCompletionOnKey(edit, state, keys.value(*s, *s));
      }
      seen << shown(edit);
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(beeps, expectedBeeps);
  }
}

TEST(AutoNumber, ReturnStartsTheNextNumber) {
  const std::tuple<QString, int, QString> cases[] = {
      {"10 PRINT[]", 10, "10 PRINT\n20 []"},
      {"5 REM\n10 PRINT[]\n30 END", 10, "5 REM\n10 PRINT\n20 []\n30 END"},
      {"0010 CLS[]", 10, "0010 CLS\n20 []"},
      {"1[]0 PRINT", 10, "1\n11 []0 PRINT"},
      {"123456 A[]", 10, "123456 A\n12355 []"},
      {" 10 PRINT[]", 10, " 10 PRINT\n[]"},
      {"10 A\n[]", 10, "10 A\n\n[]"},
      {"[]10 PRINT", 10, "\n[]10 PRINT"},
      {"10[]", -20, "10\n-10 []"},
      {"99999[]", INT_MAX, "99999\n2147583646 []"},
      {"10 PR[INT\n20 G]OTO", 10, "10 PR\n20 []OTO"},
  };
  for (const auto &[before, increment, after] : cases) {
    SCOPED_TRACE(before.toStdString());
    TextBuffer edit = marked(before);
    autoNumberReturn(edit, increment);
    EXPECT_EQ(shown(edit), after);
  }
}

TEST(KeywordListFormat, Parse) {
  const std::pair<QByteArray, QStringList> cases[] = {
      {"ABS\r\nAND\nASC\rATN", {"ABS", "AND", "ASC", "ATN"}},
      {"ABS\r\r\nAND\n\nASC\n", {"ABS", "", "AND", "", "ASC"}},
      {"", {}},
      {"\r\n", {""}},
      {" PRINT \r\nprint\r\nPRINT\r\nPRINT\r\n; REM", {" PRINT ", "print", "PRINT", "PRINT", "; REM"}},
      {QByteArray("ABS\r\nAN\0D\r\nASC\r\n", 16), {"ABS", "AN"}},
      {QByteArray("\0PRINT\r\n", 8), {}},
      {"PRINT\x82\xa0\r\n\x83\x4c\r\n", {"PRINTあ", "キ"}},
  };
  for (const auto &[bytes, entries] : cases) {
    SCOPED_TRACE(bytes.toStdString());
    EXPECT_EQ(parseKeywordList(bytes), entries);
  }
}

TEST(KeywordListFiles, AreFoundBesideTheProgramThenInTheInstalledDataFolder) {
  testing::TempDir dir;
  ASSERT_TRUE(QDir().mkpath(dir.path("bin")) && QDir().mkpath(dir.path("share/kavrin")));
  const QString exeDir = dir.root() + "/bin/";
  dir.write("share/kavrin/qmcode.txt", "RUN\r\n");
  EXPECT_EQ(loadKeywordList(keywordFilePath(exeDir, "qmcode.txt")), QStringList({"RUN"}));
  dir.write("bin/qmcode.txt", "LIST\r\n");
  EXPECT_EQ(loadKeywordList(keywordFilePath(exeDir, "qmcode.txt")), QStringList({"LIST"}));
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
