#include "logic/line_fixes.h"

#include "platform/cp932.h"

#include <gtest/gtest.h>

namespace kavrin::basic {
namespace {

TEST(LineFixes, MakeWhatTheMachineReadsAndShiftJisHolds) {
  const struct {
    CheckRule rule;
    const char *line;
    const char *fixed; // nullptr: as it is
  } cases[] = {
      {checkRule("FullWidth"), "１０　ＰＲＩＮＴ　Ａ＝１０＋ｂ（１）：ＲＥＭ！", "10 PRINT A=10+b(1):REM！"},
      {checkRule("FullWidth"), "10 ＲＥＭ　これは　テスト", "10 REM　これは　テスト"},
      {checkRule("FullWidth"), "10 ＤＡＴＡ　１，”Ａ”：Ｂ＝１", "10 DATA　１，”Ａ”:B=1"},
      {checkRule("FullWidth"), "10 PRINT\"ＡＢ　\";Ａ'Ａ　", "10 PRINT\"ＡＢ　\";A'Ａ　"},
      {checkRule("FullWidth"), "10 REM Ａ", "10 REM Ａ"},
      {checkRule("FullWidth"), "10 DATA Ａ,Ｂ:Ｃ＝1", "10 DATA Ａ,Ｂ:C=1"},
      {checkRule("FullWidth"), "10 Ａ＝「あ」¥：Ｂ＝！～", "10 A=「あ」¥:B=!~"},
      // Curly quotes: a string left as it is, a comment mark.
      {checkRule("FullWidth"), "10 PRINT ”Ａ”；10￥3：“Ｂ＂", "10 PRINT \"Ａ\";10\\3:\"Ｂ\""},
      {checkRule("FullWidth"), "10 Ａ＝1：‘ｏｋ’", "10 A=1:'ｏｋ’"},
      // With the mode's words FOR and EM, no REM stands in FOREM.
      {checkRule("FullWidth"), "10 FOREM=1TO2:ＰＲＩＮＴ", "10 FOREM=1TO2:PRINT"},
      {checkRule("YenOverline"), "10 PRINT \"¥‾\";¥:REM ¥‾", "10 PRINT \"\\~\";\\:REM \\~"},
      {checkRule("Unreachable"), "10 Ａ¥", nullptr},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    const QString line = QString::fromUtf8(c.line);
    const QString fixed = fixLine(line, c.rule, KeywordMatcher({"FOR", "TO", "PRINT"}));
    EXPECT_EQ(fixed, c.fixed != nullptr ? QString::fromUtf8(c.fixed) : line);
    EXPECT_EQ(hasFix(c.rule), c.fixed != nullptr);
    if (c.rule == checkRule("YenOverline")) {
      EXPECT_TRUE(cp932::encode(fixed).exact());
    }
  }
}

} // namespace
} // namespace kavrin::basic
