#include "basic/basic_reader.h"
#include "basic/line_lookup.h"

#include <gtest/gtest.h>

namespace kavrin::basic {
namespace {

TEST(LineLookup, FindsTheFirstLineWithTheNumberOrTheNextHigher) {
  const QString text = QStringLiteral("30 C\n10 A\n\n20 B\n20 D\n50 E\n");
  const struct {
    int number;
    int line;
    bool exact;
  } cases[] = {{20, 3, true}, {10, 1, true}, {15, 3, false}, {25, 0, false}, {0, 1, false}, {51, -1, false}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.number);
    const LineLookup found = findProgramLine(text, c.number);
    EXPECT_EQ(found.line, c.line);
    EXPECT_EQ(found.exact, c.exact);
  }
}

TEST(LineLookup, ReadsTypedNumbers) {
  const struct {
    const char *input;
    bool ok;
    int number;
  } cases[] = {
      {"10", true, 10},
      {" 10\t", true, 10},
      {"\u3000"
       "7",
       true, 7},
      {"", false, 0},
      {"  ", false, 0},
      {"1a", false, 0},
      {"1 0", false, 0},
      {"-5", false, 0},
      {"99999999999", true, kNumberCap},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.input);
    int number = 0;
    EXPECT_EQ(parseLineNumber(QString::fromUtf8(c.input), number), c.ok);
    EXPECT_EQ(number, c.number);
  }
}

} // namespace
} // namespace kavrin::basic
