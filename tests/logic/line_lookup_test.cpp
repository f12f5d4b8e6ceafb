#include "logic/basic_reader.h"
#include "logic/line_lookup.h"

#include <gtest/gtest.h>

namespace kavrin::basic {
namespace {

TEST(LineLookup, FindsTheFirstLineWithTheNumberOrTheNextHigher) {
  const QString text = QStringLiteral("30 C\n10 A\n\n20 B\n20 D\n50 E\n10000001 F\n10000000 G\n");
  const struct {
    const char *number;
    int line;
    bool exact;
  } cases[] = {
      {"20", 3, true},       {"10", 1, true},       {"15", 3, false},
      {"25", 0, false},      {"0", 1, false},       {"51", 7, false},
      {"10000001", 6, true}, {"9999999", 7, false}, {"100000000000000000000", -1, false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.number);
    const LineLookup found = findProgramLine(text, LineNumber::fromDigits(QString::fromUtf8(c.number)));
    EXPECT_EQ(found.line, c.line);
    EXPECT_EQ(found.exact, c.exact);
  }
}

// Line numbers, and whole numbers such as an AUTO step.
TEST(LineLookup, ReadsTypedNumbers) {
  const struct {
    const char *input;
    const char *number; // "" when refused
    std::optional<int> whole;
  } cases[] = {
      {"10", "10", 10},
      {" 0010\t", "10", 10},
      {"\u3000"
       "7",
       "7", 7},
      {"１２０", "120", 120},
      {"\u3000１0\u3000", "10", 10},
      {"", "", {}},
      {"  ", "", {}},
      {"1a", "", {}},
      {"１ａ", "", {}},
      {"1 0", "", {}},
      {"-5", "", -5},
      {"+5", "", 5},
      {"2147483648", "2147483648", {}},
      {"123456789012345678901", "123456789012345678901", {}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.input);
    LineNumber number;
    EXPECT_EQ(parseLineNumber(QString::fromUtf8(c.input), number), *c.number != '\0');
    EXPECT_EQ(*c.number != '\0' ? number.toString() : QString(), QString::fromUtf8(c.number));
    EXPECT_EQ(parseWholeNumber(QString::fromUtf8(c.input)), c.whole);
  }
}

} // namespace
} // namespace kavrin::basic
