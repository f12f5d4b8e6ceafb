#include "basic/basic_reader.h"

#include <gtest/gtest.h>

namespace kavrin::basic {
namespace {

// The references of a line as "digits@position" items, in order.
QString referencesOf(const QString &line) {
  QStringList found;
  for (const LineReference &ref : readLine(line).references) {
    found << QStringLiteral("%1@%2").arg(line.mid(ref.start, ref.length)).arg(ref.start);
  }
  return found.join(u' ');
}

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
      {"10 IF ERL <> 20 OR ERL>=5 THEN PRINT", "20@13 5@24"},
      {"10 ON X GOTO 100, 200,,300", "100@13 200@18 300@23"},
      {"10 ON X GOSUB 1,2:PRINT 3,4", "1@14 2@16"},
      {"10 ON ERROR GOTO 0:ON ERROR GOTO 50", "50@33"},
      {"10 RESUME 0:RESUME NEXT:RESUME 70", "70@31"},
      {"10 RESTORE 5:RUN 6:RETURN 7", "5@11 6@17 7@26"},
      {"10 RUN \"NAME\"", ""},
      {"10 LIST 10-20:LLIST -30:DELETE 40-", "10@8 20@11 30@21 40@31"},
      {"10 PRINT \"GOTO 100\":GOTO 5", "5@25"},
      {"10 REM GOTO 100", ""},
      {"10 ' GOTO 100", ""},
      {"10 DATA 1,GOTO 100,\"A:B\":GOTO 9", "9@30"},
      {"10 X=A100:GOTO A", ""},
      {"10 A=&H10:B=1E5", ""},
      {"10 PRINT 100:THEN 1.5", "1@18"},
      {"GOTO 100", ""},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(referencesOf(QString::fromUtf8(c.line)), QString::fromUtf8(c.references));
  }
}

TEST(BasicReader, ReadsLineNumbers) {
  const struct {
    const char *line;
    bool program;
    int number;
  } cases[] = {
      {"10 PRINT", true, 10},     {"  0010PRINT", true, 10}, {"\t7", true, 7},
      {"PRINT 10", false, -1},    {"", false, -1},           {"99999999999", true, kNumberCap},
      {"65530 END", true, 65530},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    const ProgramLine line = readLineNumber(QString::fromUtf8(c.line));
    EXPECT_EQ(line.isProgram, c.program);
    EXPECT_EQ(line.number, c.number);
  }
}

TEST(BasicReader, ColoursTheLongestKeywordOutsideStringsAndComments) {
  const KeywordMatcher keywords(QStringList{"PRINT", "PR", "INPUT", "INPUT$", "OR", "REM", "", "DATA"});
  const struct {
    const char *line;
    const char *spans; // kind letter and text, in order
  } cases[] = {
      {"10 print\"OR\":INPUT$(1)", "N10 Kprint S\"OR\" KINPUT$"},
      {"20 SCORE=1 'PRINT", "N20 KOR C'PRINT"},
      {"30 REM PRINT", "N30 CREM PRINT"},
      {"40 DATA PRINT,\"X", "N40 KDATA S\"X"},
      {"PRINT", ""},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    const QString line = QString::fromUtf8(c.line);
    QStringList found;
    for (const Span &span : colourSpans(line, keywords)) {
      found << QString(QChar(u"NKSC"[static_cast<int>(span.kind)])) + line.mid(span.start, span.length);
    }
    EXPECT_EQ(found.join(u' '), QString::fromUtf8(c.spans));
  }
}

TEST(BasicReader, SplitsLinesKeepingTheFinalBreak) {
  const struct {
    const char *text;
    int lines;
    bool endsWithBreak;
  } cases[] = {{"", 0, false}, {"\n", 1, true}, {"a\n\nb", 3, false}, {"a\nb\n", 2, true}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    const QString text = QString::fromUtf8(c.text);
    const TextLines split = splitLines(text);
    EXPECT_EQ(static_cast<int>(split.lines.size()), c.lines);
    EXPECT_EQ(split.endsWithBreak, c.endsWithBreak);
  }
}

} // namespace
} // namespace kavrin::basic
