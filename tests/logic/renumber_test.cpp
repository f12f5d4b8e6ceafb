#include "logic/renumber.h"

#include <gtest/gtest.h>

#include <climits>

namespace kavrin::basic {
namespace {

// Missing references as "line:target" items, in order, then those that now
// name a renumbered line, marked "*".
QString missingOf(const RenumberResult &result) {
  QStringList found;
  for (const MissingReference &m : result.missing) {
    found << QStringLiteral("%1:%2").arg(m.line.toString(), m.target.toString());
  }
  for (const MissingReference &m : result.retargeted) {
    found << QStringLiteral("%1:%2*").arg(m.line.toString(), m.target.toString());
  }
  return found.join(u' ');
}

TEST(Renumber, RewritesLineNumbersAndTheReferencesToThem) {
  const struct {
    const char *text;
    RenumberRequest request;
    const char *expected;
    const char *missing;
  } cases[] = {
      {"10 GOTO 30\n20 GOSUB 10:IF A THEN 30 ELSE 20\n30 ON X GOTO 10,20,30:ON ERROR GOTO 0\n"
       "40 IF ERL=20 THEN RESUME 30 ELSE RESTORE 40\n50 LIST 10-30:DELETE -40\n",
       {100, 5, {}, {}},
       "100 GOTO 110\n105 GOSUB 100:IF A THEN 110 ELSE 105\n110 ON X GOTO 100,105,110:ON ERROR GOTO 0\n"
       "115 IF ERL=105 THEN RESUME 110 ELSE RESTORE 115\n120 LIST 100-110:DELETE -115\n",
       ""},
      {"10 GOTO 30\n20 GOTO 10\n30 GOTO 40\n40 GOTO 20\n",
       {100, 100, LineNumber(25), {}},
       "10 GOTO 100\n20 GOTO 10\n100 GOTO 200\n200 GOTO 20\n",
       ""},
      {"0010 GOTO 0020\n0020 GOTO 0010:GOTO 010\n", {10, 10, {}, {}}, "10 GOTO 20\n20 GOTO 10:GOTO 10\n", ""},
      {"5 END\n0010 GOTO 005\n", {10, 10, LineNumber(10), {}}, "5 END\n10 GOTO 005\n", ""},
      {"10 GOTO 500\n20 GOSUB 10:GOTO 0030\n",
       {100, 10, {}, {}},
       "100 GOTO 500\n110 GOSUB 100:GOTO 0030\n",
       "100:500 110:30"},
      {"  10  goto   20 'x\n\nPRINT 10\n20 PRINT\"GOTO 10😀\":REM GOTO 10\r\n30 data 10,20: go to 10",
       {1000, 1, {}, {}},
       "  1000  goto   1001 'x\n\nPRINT 10\n1001 PRINT\"GOTO 10😀\":REM GOTO 10\r\n1002 data 10,20: go to "
       "1000",
       ""},
      {"10 END\n\n", {100, 10, {}, {}}, "100 END\n\n", ""},
      {"10 GOTO 70000\n70000 END", {10, 10, {}, {}}, "10 GOTO 20\n20 END", ""},
      {"1 A\n2 B", {65519, 10, {}, {}}, "65519 A\n65529 B", ""},
      {"10 A\n20 B\n30 C", {11, 1, LineNumber(20), {}}, "10 A\n11 B\n12 C", ""},
      {"20 A\n10 B\n30 GOTO 10", {100, 10, LineNumber(30), {}}, "20 A\n10 B\n100 GOTO 10", ""},
      {"10 GOTO 10000001\n10000000 END", {10, 10, {}, {}}, "10 GOTO 10000001\n20 END", "10:10000001"},
      {"10 GOTO 012345678901234567890\n12345678901234567890 GOTO 12345678901234567891",
       {10, 10, {}, {}},
       "10 GOTO 20\n20 GOTO 12345678901234567891",
       "20:12345678901234567891"},
      {"10 A\n10000001 GOTO 10", {20, 10, LineNumber::fromDigits(u"010000001"), {}}, "10 A\n20 GOTO 10", ""},
      // A range: the lines after it keep their numbers; references follow.
      {"10 GOTO 40\n20 GOSUB 30\n30 RETURN 20\n40 GOTO 30\n50 END",
       {21, 5, LineNumber(20), LineNumber(30)},
       "10 GOTO 40\n21 GOSUB 26\n26 RETURN 21\n40 GOTO 26\n50 END",
       ""},
      {"10 A\n20 GOTO 10\n30 GOTO 20", {1, 1, {}, LineNumber(25)}, "1 A\n2 GOTO 1\n30 GOTO 2", ""},
      {"10 GOTO 15\n20 GOTO 30\n30 END",
       {11, 1, {}, LineNumber(20)},
       "11 GOTO 15\n12 GOTO 30\n30 END",
       "11:15"},
      {"10 IF 30=ERL THEN 10\n30 IF 10<>ERL THEN 30",
       {100, 10, {}, {}},
       "100 IF 110=ERL THEN 100\n110 IF 100<>ERL THEN 110",
       ""},
      // A missing reference stays, and is told apart once a line has its number.
      {"10 GOTO 100:GOTO 120\n20 END",
       {100, 10, LineNumber(20), {}},
       "10 GOTO 100:GOTO 120\n100 END",
       "10:120 10:100*"},
      // Range ends that name no line keep the lines covered.
      {"100 A\n110 B\n200 C\n210 LIST 100-150:LIST 105-:DELETE 220-230",
       {10, 10, {}, {}},
       "10 A\n20 B\n30 C\n40 LIST 10-20:LIST 20-:DELETE 220-230",
       ""},
      // Ranges that covered no line cover none still: moved where they would.
      {"10 LIST 30-:LIST 12-15:DELETE 9-1\n20 A",
       {100, 10, {}, {}},
       "100 LIST 111-:LIST 12-15:DELETE 9-1\n110 A",
       ""},
      {"10 A\n20 B\n30 LIST 12-15", {13, 1, LineNumber(20), {}}, "10 A\n13 B\n14 LIST 11-12", ""},
      // So do bounds of ERL, which are no missing references.
      {"10 ON ERROR GOTO 40\n20 A\n30 B\n40 IF ERL<30 OR ERL>=20 OR 10<ERL OR ERL<25 OR ERL>=1000 THEN "
       "RESUME 0",
       {100, 10, {}, {}},
       "100 ON ERROR GOTO 130\n110 A\n120 B\n130 IF ERL<120 OR ERL>=110 OR 100<ERL OR ERL<120 OR ERL>=1000 "
       "THEN "
       "RESUME 0",
       ""},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    const RenumberResult result = renumber(QString::fromUtf8(c.text), c.request, {});
    EXPECT_EQ(result.error, QString());
    EXPECT_EQ(result.text, QString::fromUtf8(c.expected));
    EXPECT_EQ(missingOf(result), QString::fromUtf8(c.missing));
    // The same values again, from the first line they gave a number to.
    RenumberRequest again = c.request;
    again.oldStart = c.request.oldStart ? std::optional(LineNumber(c.request.newStart)) : std::nullopt;
    if (c.request.oldEnd) {
      again.oldEnd = LineNumber(quint64(c.request.newStart + c.request.increment * (result.renumbered - 1)));
    }
    EXPECT_EQ(renumber(result.text, again, {}).text, result.text);
  }
}

TEST(Renumber, RefusesAndChangesNothing) {
  using enum RenumberRefusal;
  const struct {
    const char *text;
    RenumberRequest request;
    RenumberRefusal refusal;
    const char *names = ""; // a line number the message names
  } cases[] = {
      {"10 END", {0, 10, {}, {}}, BadValue},
      {"10 END", {10, 0, {}, {}}, BadValue},
      {"1 A\n2 B", {65520, 10, {}, {}}, TooLarge},
      {"1 A\n2 B", {1, INT_MAX, {}, {}}, TooLarge},
      {"10 A\n20 B\n30 C", {10, 1, LineNumber(20), {}}, Overlap, "行 10 "},
      {"10 A\n10000000 B\n10000001 C", {20, 1, LineNumber(10000001), {}}, Overlap, "行 10000000 "},
      {"10 A\n30 B\n20 C", {10, 10, {}, {}}, OutOfOrder, "行 20 "},
      {"10 A\n10 B", {10, 10, {}, {}}, OutOfOrder},
      {"10000001 A\n010000000 B", {10, 10, {}, {}}, OutOfOrder, "行 10000000 "},
      {"", {10, 10, {}, {}}, NothingToRenumber},
      {"PRINT\n\n", {10, 10, {}, {}}, NothingToRenumber},
      {"10 A\n20 B", {10, 10, LineNumber(30), {}}, NothingToRenumber},
      {"10 A\n20 B\n30 C", {10, 10, LineNumber(21), LineNumber(29)}, NothingToRenumber},
      {"10 A\n20 B", {10, 10, LineNumber(20), LineNumber(10)}, BadRange},
      {"10 A\n20 B\n30 C\n40 D", {30, 10, LineNumber(20), LineNumber(30)}, OverlapAfter, "行 40 "},
      {"10 A\n20 B\n30 C", {5, 1, LineNumber(20), LineNumber(20)}, Overlap, "行 10 "},
      {"10 A\n20 B\n40 C\n30 D", {10, 1, LineNumber(10), LineNumber(20)}, OutOfOrder, "行 30 "},
      // GOTO 40 names no line; renumbered, B would take 40.
      {"10 GOTO 40\n20 A\n30 B\n50 C", {35, 5, LineNumber(20), LineNumber(30)}, Overlap, "40"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    const RenumberResult result = renumber(QString::fromUtf8(c.text), c.request, {});
    EXPECT_EQ(result.refusal, c.refusal);
    EXPECT_TRUE(result.error.contains(QString::fromUtf8(c.names))) << result.error.toStdString();
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_TRUE(result.text.isEmpty());
  }
}

TEST(Renumber, ReportsTheCountAndListsAFewMissingReferences) {
  RenumberResult result;
  result.renumbered = 12;
  EXPECT_EQ(renumberReport(result),
            QStringLiteral("12 行の番号を振り直しました。\nすべての参照先が見つかりました。"));
  result.missing.assign(21, {LineNumber(30), LineNumber::fromDigits(u"12345678901234567890")});
  const QStringList lines = renumberReport(result).split(u'\n');
  ASSERT_EQ(lines.size(), 23);
  EXPECT_EQ(lines[1], QStringLiteral("見つからない参照先:"));
  EXPECT_EQ(lines[2], QStringLiteral("行 30: 12345678901234567890"));
  EXPECT_EQ(lines[22], QStringLiteral("ほか 1 件"));
}

} // namespace
} // namespace kavrin::basic
