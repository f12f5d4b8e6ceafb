#include "logic/sort_lines.h"

#include <gtest/gtest.h>

namespace kavrin::basic {
namespace {

TEST(SortLines, OrdersByNumberKeepingTheLastOfARepeatAndTheLinesThatFollow) {
  const struct {
    const char *text;
    const char *sorted;   // "" when unchanged
    const char *replaced; // the numbers the report names
    const char *newLineOf;
  } cases[] = {
      {"20 B\n10 A\n", "10 A\n20 B\n", "", "1 0"},
      {"10 A\n20 B\n10 C", "10 C\n20 B", "10", "-1 1 0"},
      {"' top\n30 C\n  note\n10 A\n\n", "' top\n10 A\n\n30 C\n  note\n", "", "0 3 4 1 2"},
      {"10 A\nx\n20 B\n10 C\ny", "10 C\nx\ny\n20 B", "10", "-1 1 3 0 2"},
      {"5 A\n5 B\n5 C\n", "5 C\n", "5", "-1 -1 0"},
      {"60 A\n20 B\n60 C\n20 D", "20 D\n60 C", "20, 60", "-1 -1 1 0"},
      {"12345678901234567891 A\n12345678901234567890 B\n012345678901234567890 C",
       "012345678901234567890 C\n12345678901234567891 A", "12345678901234567890", "1 -1 0"},
      {"x\n10 A\n20 B\n", "", "", "0 1 2"},
      {"", "", "", ""},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    const SortResult result = sortLines(QString::fromUtf8(c.text));
    EXPECT_EQ(result.changed, *c.sorted != '\0');
    EXPECT_EQ(result.text, QString::fromUtf8(c.sorted));
    // The report names replaced lines only where there are some.
    EXPECT_EQ(sortReport(result).section(QStringLiteral("置き換えた行: "), 1), QString::fromUtf8(c.replaced));
    QStringList map;
    for (const int line : result.newLineOf) {
      map << QString::number(line);
    }
    EXPECT_EQ(map.join(u' '), QString::fromUtf8(c.newLineOf));
  }
}

} // namespace
} // namespace kavrin::basic
