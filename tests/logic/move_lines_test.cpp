#include "logic/move_lines.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <climits>

namespace kavrin::basic {
namespace {

TEST(MoveLines, NumbersTheLinesAnewAndPutsThemInPlaceWithTheReferences) {
  const struct {
    const char *text;
    MoveRequest request;
    const char *expected;
    MoveRequest back;               // moves them back; its lines are the ones left selected
    const char *backText = nullptr; // when not the text
  } cases[] = {
      {"10 GOSUB 30\n20 GOTO 10\n30 RETURN\n40 END",
       {0, 1, 100, 10},
       "30 RETURN\n40 END\n100 GOSUB 30\n110 GOTO 100",
       {2, 3, 10, 10}},
      // A range keeps its lines: its ends become the first and last of them.
      {"10 PRINT\n20 GOTO 40\n30 A\n40 B\n' note\n50 GOTO 40:LIST 20-40",
       {3, 3, 15, 10},
       "10 PRINT\n15 B\n' note\n20 GOTO 15\n30 A\n50 GOTO 15:LIST 15-30",
       {1, 2, 40, 1}},
      {"10 A\n20 B\n30 C\n40 D",
       {2, 3, 15, 10},
       "10 A\n15 C\n20 B\n25 D",
       {1, 1, 30, 1},
       "10 A\n20 B\n25 D\n30 C"}, // B did not move
      {"20 A\n30 B\n40 DELETE 20-30", {1, 1, 5, 10}, "5 B\n20 A\n40 DELETE 5-20", {0, 0, 30, 1}},
      {"10 A\n20 LIST 30-40\n30 B\n40 C", {2, 3, 1, 1}, "1 B\n2 C\n10 A\n20 LIST 1-2", {0, 1, 30, 10}},
      {"10 A\n20 B\n30 LIST -20:LIST 5-:LIST 12-18",
       {0, 0, 25, 10},
       "20 B\n25 A\n30 LIST -25:LIST 5-:LIST 12-18",
       {1, 1, 10, 1}},
      {"10 A\n20 LIST 12-15", {0, 0, 13, 10}, "13 A\n20 LIST 14-17", {0, 0, 10, 1}, "10 A\n20 LIST 14-17"},
      {"REM head\n10 A\n' x\n20 B\n30 C", {2, 3, 5, 10}, "REM head\n5 B\n10 A\n' x\n30 C", {1, 1, 20, 1}},
      {"10 A\n20 B\n30 C\n40 GOTO 20", {1, 2, 30, 5}, "10 A\n30 B\n35 C\n40 GOTO 30", {1, 2, 20, 10}},
      {"10 A\n20 B\n30 C\n", {2, 2, 15, 1}, "10 A\n15 C\n20 B\n", {1, 1, 30, 1}},
      {"10 A\n20 B\n30 C", {0, 1, 65519, 10}, "30 C\n65519 A\n65529 B", {1, 2, 10, 10}},
      {"0010 GOTO 0020\n0020 GOTO 010",
       {1, 1, 5, 10},
       "5 GOTO 010\n0010 GOTO 5",
       {0, 0, 20, 1},
       "0010 GOTO 20\n20 GOTO 010"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    const MoveResult result = moveLines(QString::fromUtf8(c.text), c.request, {});
    EXPECT_EQ(result.error, QString());
    EXPECT_EQ(result.text, QString::fromUtf8(c.expected));
    EXPECT_EQ(result.firstLine, c.back.firstLine);
    EXPECT_EQ(result.lastLine, c.back.lastLine);
    // Each old line is found where the map says, but for its digits.
    QStringList oldLines = QString::fromUtf8(c.text).split(u'\n');
    if (oldLines.back().isEmpty()) {
      oldLines.removeLast(); // after a final break: no line
    }
    const QStringList newLines = result.text.split(u'\n');
    const auto letters = [](QString line) {
      return line.remove(QRegularExpression(QStringLiteral("[0-9]")));
    };
    ASSERT_EQ(result.newLineOf.size(), size_t(oldLines.size()));
    for (qsizetype i = 0; i < oldLines.size(); ++i) {
      EXPECT_EQ(letters(newLines.value(result.newLineOf[size_t(i)])), letters(oldLines[i])) << i;
    }
    EXPECT_EQ(moveLines(result.text, c.back, {}).text, QString::fromUtf8(c.backText ? c.backText : c.text));
  }
}

TEST(MoveLines, RefusesAndChangesNothing) {
  using enum MoveRefusal;
  const struct {
    const char *text;
    MoveRequest request;
    MoveRefusal refusal;
    const char *names = ""; // a line number the message names
  } cases[] = {
      {"10 A", {0, 0, 0, 10}, BadValue},
      {"10 A", {0, 0, 10, 0}, BadValue},
      {"10 A\n' x\n20 B", {1, 1, 30, 10}, NothingToMove},
      {"10 A\n", {1, 1, 30, 10}, NothingToMove},
      {"", {0, 0, 30, 10}, NothingToMove},
      {"10 A\n30 B\n20 C", {0, 0, 40, 10}, OutOfOrder, "行 20 "},
      {"10 A\n10 B", {0, 0, 40, 10}, OutOfOrder},
      {"10 A\n20 B", {0, 1, 65520, 10}, TooLarge},
      {"10 A\n20 B", {0, 1, 1, INT_MAX}, TooLarge},
      {"10 A\n20 B\n30 C", {0, 0, 20, 10}, Taken, "20"},
      {"10 A\n20 B\n30 C", {0, 1, 25, 5}, Taken, "30"},
      {"10 GOTO 35\n20 A\n30 B", {1, 1, 35, 10}, Taken, "35"}, // GOTO 35 would come to name A
      // A range would cover other lines than before.
      {"10 A\n100 B\n200 C\n800 LIST 10-100", {1, 1, 850, 10}, BrokenRange, "行 800 "},
      {"20 A\n25 B\n30 C\n40 DELETE 20-30", {1, 1, 50, 10}, BrokenRange, "行 40 "},
      {"10 A\n20 B\n30 C\n40 LIST 20-", {0, 0, 25, 10}, BrokenRange, "行 40 "},
      {"10 A\n20 B\n30 C\n40 IF ERL<25 THEN END", {0, 0, 35, 10}, BrokenRange, "行 40 "},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    const MoveResult result = moveLines(QString::fromUtf8(c.text), c.request, {});
    EXPECT_EQ(result.refusal, c.refusal);
    EXPECT_TRUE(result.error.contains(QString::fromUtf8(c.names))) << result.error.toStdString();
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_TRUE(result.text.isEmpty());
  }
}

} // namespace
} // namespace kavrin::basic
