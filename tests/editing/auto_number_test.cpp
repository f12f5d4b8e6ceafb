#include "editing/auto_number.h"

#include "support/text_buffer.h"

#include <gtest/gtest.h>

#include <climits>

namespace kavrin {
namespace {

using testing::TextBuffer;

// The text after RETURN, with the caret shown as '|'.
QString afterReturn(const QString &marked, int increment = 10) {
  TextBuffer edit = TextBuffer::withCaret(marked);
  autoNumberReturn(edit, increment);
  QString shown = edit.text();
  shown.insert(edit.selStart(), u'|');
  return shown;
}

TEST(AutoNumber, TheNextLineGetsTheNumberPlusTheIncrement) {
  EXPECT_EQ(afterReturn("10 PRINT|"), "10 PRINT\n20 |");
  EXPECT_EQ(afterReturn("5 REM\n10 PRINT|\n30 END"), "5 REM\n10 PRINT\n20 |\n30 END");
  EXPECT_EQ(afterReturn("0010 CLS|"), "0010 CLS\n20 |");
}

TEST(AutoNumber, TheCaretSplitsTheLine) {
  EXPECT_EQ(afterReturn("1|0 PRINT"), "1\n11 |0 PRINT");
  EXPECT_EQ(afterReturn("10 PRINT|A"), "10 PRINT\n20 |A");
}

TEST(AutoNumber, AtMostFiveDigitsAreRead) {
  EXPECT_EQ(afterReturn("123456 A|"), "123456 A\n12355 |");
  EXPECT_EQ(afterReturn("99999|", 10), "99999\n100009 |");
}

TEST(AutoNumber, ALineWithoutANumberGetsOnlyTheBreak) {
  EXPECT_EQ(afterReturn(" 10 PRINT|"), " 10 PRINT\n|");
  EXPECT_EQ(afterReturn("|"), "\n|");
  EXPECT_EQ(afterReturn("10 A\n|"), "10 A\n\n|");
  EXPECT_EQ(afterReturn("|10 PRINT"), "\n|10 PRINT");
  EXPECT_EQ(afterReturn("１０ A|"), "１０ A\n|");
}

TEST(AutoNumber, AnyIncrementIsUsedAndNeverWraps) {
  EXPECT_EQ(afterReturn("10|", 0), "10\n10 |");
  EXPECT_EQ(afterReturn("10|", -20), "10\n-10 |");
  EXPECT_EQ(afterReturn("99999|", INT_MAX), "99999\n2147583646 |");
  EXPECT_EQ(afterReturn("0|", INT_MIN), "0\n-2147483648 |");
}

TEST(AutoNumber, ASelectionIsReplacedAndTheNumberComesFromItsStart) {
  TextBuffer edit("10 PRINT\n20 GOTO");
  edit.select(5, 8); // "INT\n20 G"
  autoNumberReturn(edit, 10);
  EXPECT_EQ(edit.text(), "10 PR\n20 OTO");
}

} // namespace
} // namespace kavrin
