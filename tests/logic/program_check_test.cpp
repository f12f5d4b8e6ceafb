#include "logic/program_check.h"

#include <gtest/gtest.h>

namespace kavrin::basic {
namespace {

TEST(ProgramCheck, ReportsEachFaultAtItsLineInTextOrder) {
  const struct {
    const char *text;     // "<W>": 130 wide characters, "<N>": 252 narrow ones
    const char *findings; // "line:message" items joined by '|'
  } cases[] = {
      {"10 A\nPRINT\n  \n\t\n\n20 B", "1:行番号がありません"},
      {"30 A\n20 B\n20 C\n25 D",
       "1:行番号 20 が前の行番号 30 より小さくなっています|2:行番号 20 が重複しています"},
      {"0010 A\n5 GOTO 010", "1:行番号 5 が前の行番号 10 より小さくなっています"},
      {"10 GOTO 20:GOSUB 0500:RUN 000\n20 END",
       "0:行 500 への参照がありますが、その行はありません|0:行 0 への参照がありますが、その行はありません"},
      {"70000 GOTO 9\n70001 GOTO 70000",
       "0:行番号 70000 が 65529 を超えています|0:行 9 への参照がありますが、その行はありません|"
       "1:行番号 70001 が 65529 を超えています|1:行 70000 への参照は範囲外です (65529 まで)"},
      {"10000001 A\n10000000 B", "0:行番号 10000001 が 65529 を超えています|1:行番号 10000000 が前の行番号 "
                                 "10000001 より小さくなっています|"
                                 "1:行番号 10000000 が 65529 を超えています"},
      {"12345678901234567890 A\n012345678901234567890 B",
       "0:行番号 12345678901234567890 が 65529 を超えています|1:行番号 12345678901234567890 が重複しています|"
       "1:行番号 12345678901234567890 が 65529 を超えています"},
      {"10 LIST 10-25:LIST 25:DELETE -30:LLIST 5-\n20 GOTO 0100000000000000000000",
       "0:行 25 への参照がありますが、その行はありません|0:行 5 への参照がありますが、その行はありません|"
       "1:行 100000000000000000000 への参照は範囲外です (65529 まで)"},
      {"10 <W>\n20 <N>", "0:1 行が 255 バイトを超えています (263 バイト)"},
      {"<W>", "0:行番号がありません|0:1 行が 255 バイトを超えています (260 バイト)"},
      {"", ""},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    QString text = QString::fromUtf8(c.text);
    text.replace(QStringLiteral("<W>"), QString(130, QChar(u'あ')))
        .replace(QStringLiteral("<N>"), QString(252, u'x'));
    QStringList found;
    for (const Finding &finding : checkProgram(text)) {
      found << QStringLiteral("%1:%2").arg(finding.line).arg(finding.message);
    }
    EXPECT_EQ(found.join(u'|'), QString::fromUtf8(c.findings));
  }
}

} // namespace
} // namespace kavrin::basic
