#include "logic/line_references.h"

#include <gtest/gtest.h>

namespace kavrin::basic {
namespace {

TEST(LineReferences, TheReferenceUnderTheCaret) {
  const struct {
    const char *line;
    int column;
    const char *target; // "" for none
  } cases[] = {
      {"10 GOTO 200", 8, "200"},  // on its first digit
      {"10 GOTO 200", 11, "200"}, // right after it
      {"10 GOTO 200", 7, ""},     // on the blank before it
      {"10 GOTO 200", 3, ""},     // on the keyword
      {"10 GOTO 200", 1, ""},     // on the line's own number
      {"10 ON X GOTO 100,200,300", 17, "200"},
      {"10 ON X GOTO 100,200,300", 16, "100"}, // after the first, on the comma
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(std::string(c.line) + " @" + std::to_string(c.column));
    const std::optional<LineReference> found = referenceAt(QString::fromUtf8(c.line), c.column, {});
    EXPECT_EQ(found ? found->target.toString() : QString(), QString::fromUtf8(c.target));
  }
}

TEST(LineReferences, TheLinesReferringToALineInTextOrderEachOnce) {
  const QString text = QStringLiteral("10 GOTO 100\n"
                                      "20 PRINT \"GOTO 100\"\n"
                                      "30 ON X GOSUB 100,200,100\n"
                                      "40 REM 100\n"
                                      "100 GOTO 100\n"
                                      "110 LIST 50-100\n"
                                      "120 GOTO 1000\n"
                                      "GOTO 100\n"
                                      "130 IF A THEN 0100\n");
  const struct {
    int number;
    std::vector<int> lines;
  } cases[] = {
      {100, {0, 2, 4, 5, 8}}, {200, {2}}, {1000, {6}}, {10, {}}, {50, {5}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(linesReferringTo(text, LineNumber(static_cast<quint64>(c.number)), {}), c.lines);
  }
}

} // namespace
} // namespace kavrin::basic
