#include "logic/basic_reader.h"
#include "logic/source_form.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kavrin::basic {
namespace {

const KeywordMatcher
    kWords(QStringLiteral("PRINT FOR TO NEXT IF THEN GOTO AND OR XOR NOT MOD DIM INPUT").split(u' '));

// The references of a line as "digits@position" items, in order; range ends are marked: "(" before a dash
// with nothing after it, "[" before a dash with an end, "]" after the dash; bounds of ERL by the lines they
// cover as ERL on the left: ">=", ">", "<=", "<".
QString referencesOf(const QString &line) {
  const char *const marks[] = {"", "(", "[", "]", ">=", ">", "<=", "<"};
  QStringList found;
  for (const LineReference &ref : readLine(line, kWords).references) {
    EXPECT_EQ(ref.target, LineNumber::fromDigits(line.mid(ref.start, ref.length)));
    found << QStringLiteral("%1@%2%3")
                 .arg(line.mid(ref.start, ref.length))
                 .arg(ref.start)
                 .arg(QString::fromLatin1(marks[static_cast<int>(ref.range)]));
  }
  return found.join(u' ');
}

// One row per reference word and form; the words need no list.
TEST(BasicReader, FindsLineReferences) {
  const struct {
    const char *line;
    const char *references;
  } cases[] = {
      {"10 GOTO 100", "100@8"},
      {"10 goto  0100", "0100@9"},
      {"10 GO  TO 30:GOSUB40", "30@10 40@18"},
      {"10 IFA=1THEN100ELSE200", "100@12 200@19"},
      {"10 IF ERL=20 THEN 30", "20@10 30@18"},
      {"10 IF ERL <> 20 OR ERL>=5 THEN PRINT", "20@13 5@24>="},
      {"10 IF 1=ERL OR 2<>ERL OR 3 < ERL OR 4>ERL OR 5<=ERL OR 6>=ERL THEN 9",
       "1@6 2@15 3@25> 4@36< 5@45>= 6@55<= 9@67"},
      {"10 ON ERL<1 GOTO 2:IF ERL>3 OR ERL<=4 OR ERL=<5 OR ERL=>6 OR ERL><7 OR ERL<<8 OR 9=<ERL OR 1=>ERL",
       "1@10< 2@17 3@26> 4@36<= 5@46<= 6@56>= 7@66 8@76 9@81>= 1@91<="},
      {"10 IF 1.5=ERL OR X+2=Y OR 3 ERL THEN PRINT ERL", ""},
      {"10 L1=ERL:IF X12 >= ERL THEN 20 ELSE E2=ERR:A1B2<>ERL:L1.5=ERL:A.5=ERL:I.1<ERL", "20@29"},
      {"10 IF5=ERLTHEN1:IFX=1OR6=ERLORNOT7=ERLTHEN2", "5@5 1@14 6@23 7@33 2@42"},
      // Only ERL as a whole side of a comparison: 2*ERL<50 bounds no line.
      {"10 IF 2*ERL<50 THEN 9", "9@20"},
      {"10 IF -ERL>50 OR X*ERL<50", ""},
      {"10 IF ERL*2<50 OR ERL<50*2 OR ERL<50MOD7 OR ERL<5.5", ""},
      {"10 IF 50>ERL*2 OR 50<ERL+1 OR 50>2*ERL OR 1<50<ERL", ""},
      {"10 IF 2*ERL=50 OR X+2=ERL OR ERL=50-1", ""},
      {"10 IF (ERL<50) THEN 9", "50@11< 9@20"},
      {"10 IF ERL<50 AND ERL>=10 OR NOT ERL=50", "50@10< 10@22>= 50@36"},
      {"10 ON X GOTO 100, 200,,300", "100@13 200@18 300@23"},
      {"10 ON X GOSUB 1,2:PRINT 3,4", "1@14 2@16"},
      {"10 ON ERROR GOTO 0:ON ERROR GOTO 50", "50@33"},
      {"10 RESUME 0:RESUME NEXT:RESUME 70", "70@31"},
      {"10 RESTORE 5:RUN 6:RETURN 7", "5@11 6@17 7@26"},
      {"10 RUN \"NAME\"", ""},
      {"10 RENUM 100,30,5:RENUM ,40:RENUM 50:RENUM 1.5,6", "30@13 40@25"},
      {"10 LIST 10-20:LLIST -30:DELETE 40-", "10@8[ 20@11] 30@21] 40@31("},
      {"10 LIST 25:DELETE 5 6:LIST 1--2:LIST 7-:LIST -8", "25@8 5@18 6@20 1@27[ 2@30] 7@37( 8@46]"},
      {"10 PRINT \"GOTO 100\":GOTO 5", "5@25"},
      {"10 REM GOTO 100", ""},
      {"10 ' GOTO 100", ""},
      {"10 DATA 1,GOTO 100,\"A:B\":GOTO 9", "9@30"},
      {"10 X=A100:GOTO A:GOTO A.5:GOTO &H10:GOTO .5", ""},
      {"10 PRINT 100:THEN 1.5", "1@18"},
      {"10 XGOTO1:FORI=1TO2:TOTHEN3", "1@8 3@26"}, // keywords inside names
      {"GOTO 100", ""},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(referencesOf(QString::fromUtf8(c.line)), QString::fromUtf8(c.references));
  }
}

TEST(BasicReader, ReadsLineNumbersOfAnyLength) {
  const struct {
    const char *line;
    const char *number; // "" for no program line
  } cases[] = {
      {"10 PRINT", "10"},
      {"  0010PRINT", "10"},
      {"\t7", "7"},
      {"000 END", "0"},
      {"PRINT 10", ""},
      {"", ""},
      {"65530 END", "65530"},
      {"18446744073709551615 END", "18446744073709551615"},
      {"0012345678901234567890 END", "12345678901234567890"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    const ProgramLine line = readLineNumber(QString::fromUtf8(c.line));
    EXPECT_EQ(line.isProgram, *c.number != '\0');
    EXPECT_EQ(line.isProgram ? line.number.toString() : QString(), QString::fromUtf8(c.number));
  }
}

TEST(BasicReader, ComparesLineNumbersExactly) {
  const struct {
    const char *a;
    const char *b;
    int order; // the sign of a - b
  } cases[] = {
      {"10000001", "10000000", 1},
      {"0010", "10", 0},
      {"9", "10", -1},
      {"9999999999999999999", "10000000000000000000", -1},
      {"10000000000000000000", "010000000000000000000", 0},
      {"10000000000000000001", "10000000000000000000", 1},
      {"99999999999999999999", "100000000000000000000", -1},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(std::string(c.a) + " " + c.b);
    const LineNumber a = LineNumber::fromDigits(QString::fromUtf8(c.a));
    const LineNumber b = LineNumber::fromDigits(QString::fromUtf8(c.b));
    EXPECT_EQ(a <=> b, c.order <=> 0);
    EXPECT_EQ(b <=> a, 0 <=> c.order);
    EXPECT_EQ(a == b, c.order == 0);
    EXPECT_EQ(a.exceeds(kLargestLineNumber), std::strlen(c.a) > 5);
  }
}

TEST(BasicReader, ColoursTheLongestKeywordOutsideStringsAndComments) {
  const KeywordMatcher keywords(QStringList{"PRINT", "PR", "INPUT", "INPUT$", "OR", "REM", "", "DATA"});
  const struct {
    const char *line;
    const char *spans; // kind letter and text, in order
    bool source = false;
  } cases[] = {
      {"10 print\"OR\":INPUT$(1)", "N10 Kprint S\"OR\" KINPUT$"},
      {"20 SCORE=1 'PRINT", "N20 KOR C'PRINT"},
      {"30 REM PRINT", "N30 CREM PRINT"},
      {"40 DATA PRINT,\"X", "N40 KDATA S\"X"},
      {"50 DATA\"A,B\",1", "N50 KDATA S\"A,B\""},
      {"PRINT", ""},
      {"  PRINT *A:GOTO *A\t' go", "KPRINT L*A T' go", true},
      {"10 REM x\t'y", "N10 CREM x\t T'y", true},
      {" ' note", "T' note", true},
      {" *Main ", "L*Main", true},
      {" *Main B", "", true},
      {"20 *Main", "N20", true},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    const QString line = QString::fromUtf8(c.line);
    QStringList found;
    for (const Span &span : c.source ? sourceColourSpans(line, keywords) : colourSpans(line, keywords)) {
      found << QString(QChar(u"NKSCLT"[static_cast<int>(span.kind)])) + line.mid(span.start, span.length);
    }
    EXPECT_EQ(found.join(u' '), QString::fromUtf8(c.spans));
  }
}

} // namespace
} // namespace kavrin::basic
