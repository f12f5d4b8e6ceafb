#include "logic/line_tokens.h"

#include <gtest/gtest.h>

namespace kavrin::basic {
namespace {

const QStringList kWords =
    QStringLiteral("PRINT FOR TO NEXT IF THEN GOTO OR DIM REM DATA INPUT ?").split(u' ');

// Each token as kind:text, a name with its sign and '(' for an array; a keyword the list does not hold as k:.
QString shown(QStringView line) {
  QStringList parts;
  for (const Token &t : readTokens(line, 0, KeywordMatcher(kWords))) {
    const QString source = line.sliced(t.start, t.length).toString();
    switch (t.kind) {
    case TokenKind::Keyword:
      parts << (t.listed ? QStringLiteral("K:") : QStringLiteral("k:")) + t.text.toString();
      break;
    case TokenKind::Name:
      parts << QStringLiteral("N:") + t.text.toString() +
                   (t.typeSign.isNull() ? QString() : QString(t.typeSign)) +
                   (t.array ? QStringLiteral("(") : QString());
      break;
    default:
      parts << QString(u"KN#SCDO"[static_cast<int>(t.kind)]) + u':' + source;
    }
  }
  return parts.join(u' ');
}

TEST(LineTokens, ReadsKeywordsWhereverTheyStandAndTheRestAsNames) {
  const struct {
    const char *line;
    const char *tokens;
  } cases[] = {
      {"FORI=1TO10:NEXT", "K:FOR N:I O:= #:1 K:TO #:10 O:: K:NEXT"},
      {"IFA>BTHENGOTO100", "K:IF N:A O:> N:B K:THEN K:GOTO #:100"},
      {"for i = 1 to 10", "K:for N:i O:= #:1 K:to #:10"},
      {"SCORE=SC1+A$(2)+B%", "N:SC K:OR N:E O:= N:SC1 O:+ N:A$( O:( #:2 O:) O:+ N:B%"},
      {"DIM A (3),AB#", "K:DIM N:A( O:( #:3 O:) O:, N:AB#"},
      {"X=1.5E+3+&HFF+.5+2#", "N:X O:= #:1.5E+3 O:+ #:&HFF O:+ #:.5 O:+ #:2#"},
      {"X=1E5-2D-3", "N:X O:= #:1E5 O:- #:2D-3"},
      {"PRINT\"FOR ＡＢ ¥\";A", "K:PRINT S:\"FOR ＡＢ ¥\" O:; N:A"},
      {"PRINT\"open", "K:PRINT S:\"open"},
      {"A=1'FOR ＡＢ:NEXT", "N:A O:= #:1 C:'FOR ＡＢ:NEXT"},
      {"REMFOR ＡＢ:NEXT", "K:REM C:FOR ＡＢ:NEXT"},
      {"DATA FOR,\"a:b\",ＡＢ:NEXTI", "K:DATA D: FOR,\"a:b\",ＡＢ O:: K:NEXT N:I"},
      {"ＰＲＩＮＴ", "O:Ｐ O:Ｒ O:Ｉ O:Ｎ O:Ｔ"},
      {"A.5=I.1+.5+A.B$", "N:A.5 O:= N:I.1 O:+ #:.5 O:+ N:A.B$"},
      {"X=&O78+&B102+&HFG", "N:X O:= #:&O7 #:8 O:+ #:&B10 #:2 O:+ #:&HF N:G"},
      {"GO  TO 10:ON X GOSUB 5", "k:GO  TO #:10 O:: k:ON N:X k:GOSUB #:5"},
      {"AGOTOB.ERLX", "N:A K:GOTO N:B. k:ERL N:X"},
      {"?A;\"?\"", "K:? N:A O:; S:\"?\""}, // a word of one character
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(shown(QString::fromUtf8(c.line)), QString::fromUtf8(c.tokens));
  }
}

} // namespace
} // namespace kavrin::basic
