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
      {"10 IF ERL<50 OR 5>ERL OR ERL>=1000 OR ERL=30 THEN 10",
       "0:行 30 への参照がありますが、その行はありません"},
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

const KeywordMatcher
    kKeywords(QStringLiteral("PRINT FOR TO STEP NEXT IF THEN ELSE GOTO GOSUB RETURN ON END STOP RUN "
                             "REM DATA OR AND DIM INPUT ERROR RESUME DEF FN DEFINT OPEN APPEND AS")
                  .split(u' '));

struct RuleCase {
  const char *program; // lines joined by '\n'
  const char *lines;   // the indexes of the lines with a finding of the rule, joined by ','
};

// Each rule finds what the rows say, with every other rule on.
void expectRule(CheckRule rule, std::initializer_list<RuleCase> cases) {
  for (const RuleCase &c : cases) {
    SCOPED_TRACE(c.program);
    QStringList lines;
    for (const Finding &finding : checkProgram(QString::fromUtf8(c.program), kKeywords)) {
      if (finding.rule == rule) {
        lines << QString::number(finding.line);
      }
    }
    EXPECT_EQ(lines.join(u','), QString::fromUtf8(c.lines));
  }
}

TEST(ProgramCheck, DuplicateNumberAnywhereButSideBySide) {
  expectRule(checkRule("DuplicateNumber"), {{"10 A=1\n20 B=1\n10 C=1\n30 D\n10 E", "2,4"},
                                            {"10 A=1\n10 B=1", ""},
                                            {"10 A\n20 B\n010 C\n65529 D\n1 E\n65529 F", "2,5"},
                                            {"10 GOTO 10\n20 GOTO 10", ""},
                                            {"70000 A\n10 B\n70000 C\n99999 D", "2"}});
}

TEST(ProgramCheck, FullWidthOutsideStringsCommentsAndData) {
  expectRule(checkRule("FullWidth"),
             {{"10 ＰＲＩＮＴ 1\n20 Ａ＝１０\n30 A=1\u3000", "0,1,2"},
              {"１０ PRINT", "0"},
              {"10 PRINT \"ＡＢ　１\"\n20 REM ＡＢ\n30 'ＡＢ\n40 DATA ＡＢ\n50 A=1:REMＡ", ""},
              {"10 DATA ＡＢ:PRINT Ａ", "0"},
              {"10 PRINT \"ア\";あ", ""}});
}

TEST(ProgramCheck, YenAndOverlineAnywhere) {
  expectRule(checkRule("YenOverline"),
             {{"10 PRINT \"¥100\"\n20 REM ‾\n30 A=1\n40 DATA ¥,‾", "0,1,3"}, {"10 PRINT \"\\~\"", ""}});
}

TEST(ProgramCheck, TwoCharNamesThatAreOneVariable) {
  expectRule(checkRule("TwoCharNames"),
             {{"10 SCALE=1\n20 SCUBA=2\n30 PRINT SCALE+SCUBA+SCUBA", "1"},
              {"10 AB=1:ABC=2:ABD=3:ABC=4", "0,0"},
              {"10 AB=1:AB$=\"X\":AB%=2:AB(1)=3:A=4", ""},
              {"10 PRINT \"SCALE SCUBA\"\n20 REM SCALE SCUBA\n30 DATA SCALE,SCUBA", ""},
              {"10 FORI=1TO10:NEXT:ITEM=1:IT=2", "0"},
              {"10 DEF FNAB(X)=X*2:DIM ABC(3)\n20 ABC(1)=FNAB(1)+FNABD(2)", "1"},
              {"10 GO TO 30\n20 GOAL=1\n30 XY!=1:XYZ=2", "2"},
              {"10 A=1:PRINT A!:AB=A:AB!=2", ""},
              {"10 DEFINT A-Z\n20 SC=1:SCALE!=2:SCORE%=3:A=1:A!=2", ""}});
}

TEST(ProgramCheck, NextWithoutFor) {
  expectRule(checkRule("NextWithoutFor"), {{"10 FORI=1TO10:NEXTJ", "0"},
                                           {"10 FOR I=1 TO 2\n20 FOR J=1 TO 2\n30 NEXT J,I,K", "2"},
                                           {"10 NEXT\n20 PRINT \"NEXT J\"'NEXT J", ""},
                                           {"10 FOR I=1 TO 2\n20 NEXT I", ""},
                                           {"10 FOR I!=1 TO 2\n20 NEXT I:NEXT J%", "1"},
                                           {"10 DEFINT I-N\n20 FOR I%=1 TO 2\n30 NEXT I", ""},
                                           {"10 FOR I.1=1 TO 3\n20 NEXT I.1", ""}});
}

TEST(ProgramCheck, ForWithoutNext) {
  expectRule(checkRule("ForWithoutNext"),
             {{"10 FORI=1TO10:FORJ=1TO2:NEXTJ", "0"},
              {"10 FOR I=1 TO 2\n20 FOR J=1 TO 2:NEXT J\n30 NEXT", ""},
              {"10 FOR I=1 TO 2\n20 NEXT I", ""},
              {"10 FOR A(1)=1 TO 2\n20 REM NEXT", ""},
              {"10 OPEN \"LOG\" FOR APPEND AS #1\n20 FORM=1\n30 FOR K=1:REM TO", ""},
              {"10 FOR I%=1 TO 2\n20 NEXT I", "0"}});
}

TEST(ProgramCheck, GosubWithoutReturnAndTheReverse) {
  expectRule(checkRule("GosubWithoutReturn"), {{"10 GOSUB 30\n20 ON A GOSUB 30,40\n30 END\n40 END", "0,1"},
                                               {"10 PRINT\n20 RETURN", "1"},
                                               {"10 GOSUB 20:END\n20 RETURN", ""},
                                               {"10 PRINT \"GOSUB\"'RETURN", ""}});
}

TEST(ProgramCheck, UnreachableLineAfterALineThatLeaves) {
  expectRule(checkRule("Unreachable"),
             {{"10 GOTO 30\n20 PRINT\n30 END\n40 PRINT\n50 STOP\n60 A=1\n70 RUN\n80 B=1", "1,3,7"},
              // A line of only END or STOP that nothing reaches is no finding; the lines after it are.
              {"10 GOTO 10\n20  END \n30 GOTO 10\n40 STOP\n50 PRINT\n60 GOTO 10\n70 END:REM", "2,4,6"},
              {"10 IF A THEN GOTO 30\n20 PRINT\n30 IFA>BTHENEND\n40 PRINT\n50 ON A GOTO 10,60\n60 PRINT", ""},
              {"10 IF A THEN PRINT:GOTO 30\n20 PRINT\n30 END", ""},
              {"10 GOSUB 40:GOTO 10\n20 REM\n30 DATA 1\n40 RETURN\n50 PRINT", "4"},
              {"10 GOTO 10 'LOOP\n20 PRINT\n30 END:REM\n40 PRINT", "1,3"},
              {"10 END\n20 PRINT \"GOTO\"\n30 A=1:'GOTO\n40 STOP ON:STOP OFF\n50 PRINT", "1"},
              {"30 END\n20 PRINT", ""},
              {"10 GOSUB 30:END\n20 REM SUB\n30 REM\n40 PRINT\n50 RETURN\n60 REM\n70 PRINT", "6"},
              // In number order, the last of a number kept, as the machine runs them.
              {"10 PRINT:GOTO 40\n30 PRINT\n40 END\n20 PRINT\n50 PRINT", "3,4"},
              {"10 GOTO 100\n20 PRINT\n100 END\n10 PRINT\n110 PRINT", "4"},
              {"10 GO TO 40\n20 :REM ---\n30 PRINT\n40 END", "2"},
              {"10 GOTO ３０\n20 PRINT\n30 END\n40 PRINT \"２\"", "-1"}}); // told in the summary
}

TEST(ProgramCheck, NewRulesTellTheirTagRuleAndKind) {
  const struct {
    const char *program;
    const char *finding; // "line:rule's key:error or warning:message" of the last finding
  } cases[] = {
      {"10 A\n20 B\n10 C",
       "2:DuplicateNumber:E:[重複] 行番号 10 は 1 行目でも使われています。実機は後の行だけを残します"},
      {"10 Ａ＝1",
       "0:FullWidth:E:[全角] 全角の「Ａ＝」があります。実機は文字列とコメントの外では半角しか読めません"},
      {"10 PRINT \"¥\"", "0:YenOverline:E:[¥‾] 「¥」(U+00A5) は Shift-JIS で保存できません。実機が ¥ "
                         "と表示する 0x5C の文字に直せます"},
      {"10 A=\"‾\"", "0:YenOverline:E:[¥‾] 「‾」(U+203E) は Shift-JIS で保存できません。実機が ‾ と表示する "
                     "0x7E の文字に直せます"},
      {"10 SCALE=SCUBA",
       "0:TwoCharNames:W:[変数名] SCALE と SCUBA は最初の 2 文字が同じなので、実機には同じ変数です"},
      {"10 SCALE=1\n20 PRINT SCUBA",
       "1:TwoCharNames:W:[変数名] SCALE (1 行目) と SCUBA は最初の 2 文字が同じなので、実機には同じ変数です"},
      {"10 NEXT I$", "0:NextWithoutFor:W:[NEXT] NEXT I$ の変数を使う FOR がプログラムにありません"},
      {"10 FOR I=1 TO 2", "0:ForWithoutNext:W:[FOR] FOR I の変数を使う NEXT がプログラムにありません"},
      {"10 GOSUB 10", "0:GosubWithoutReturn:W:[GOSUB] GOSUB がありますが、プログラムに RETURN がありません"},
      {"10 RETURN", "0:GosubWithoutReturn:W:[GOSUB] RETURN がありますが、プログラムに GOSUB がありません"},
      {"10 GOTO 10\n20 END\n30 A=1", "2:Unreachable:W:[到達不能] 行 30 は前の行 20 "
                                     "から続かず、どこからも参照されていないので実行されません"},
      {"10 PRINT\n20 GOTO 10\n20 END\n30 A=1", "3:Unreachable:W:[到達不能] 行 30 は前の行 20 (3 行目) "
                                               "から続かず、どこからも参照されていないので実行されません"},
      {"10 GOTO 10\n20 PRINT\n20 A=1", "2:Unreachable:W:[到達不能] 行 20 (3 行目) は前の行 10 "
                                       "から続かず、どこからも参照されていないので実行されません"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.program);
    const std::vector<Finding> found = checkProgram(QString::fromUtf8(c.program), kKeywords);
    ASSERT_FALSE(found.empty());
    const Finding &last = found.back();
    EXPECT_EQ(QStringLiteral("%1:%2:%3:%4")
                  .arg(last.line)
                  .arg(QString::fromLatin1(rowOf(last.rule).key))
                  .arg(QChar(last.error ? u'E' : u'W'))
                  .arg(last.message),
              QString::fromUtf8(c.finding));
  }
}

TEST(ProgramCheck, RulesTurnedOffOrWithoutKeywordsFindNothing) {
  const QString program = QStringLiteral("10 Ａ=SCALE+SCUBA¥\n20 NEXT I:GOSUB 10:END\n10 PRINT");
  EXPECT_EQ(checkProgram(program, kKeywords).size(), 7U);
  EXPECT_EQ(checkProgram(program, KeywordMatcher()).size(), 4U); // order, duplicate, full-width, yen
  EXPECT_EQ(checkProgram(program).size(), 1U);
  for (int rule = 0; rule < kCheckRuleCount; ++rule) {
    SCOPED_TRACE(rule);
    CheckOptions options;
    options.on[static_cast<size_t>(rule)] = false;
    for (const Finding &finding : checkProgram(program, kKeywords, options)) {
      EXPECT_NE(static_cast<int>(finding.rule), rule);
    }
  }
}

} // namespace
} // namespace kavrin::basic
