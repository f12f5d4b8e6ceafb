#include "logic/renumber.h"
#include "logic/source_form.h"
#include "platform/cp932.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace kavrin::basic {
namespace {

const KeywordMatcher
    kWords(QStringLiteral("PRINT FOR TO NEXT IF THEN AND OR NOT END READ DATA STOP").split(u' '));

QString q(const std::string &s) { return QString::fromStdString(s); }

// Each reference as text@position, marked as basic_reader_test marks ranges.
TEST(SourceForm, ReadsLabelsWhereLineNumbersStand) {
  const struct {
    const char *line;
    const char *references;
  } cases[] = {
      {"GOTO *A:GO TO *b1:GOSUB *_x:GOTO 10", "*A@5 *b1@14 *_x@24 10@33"},
      {"IF X THEN *A ELSE *B", "*A@10 *B@18"},
      {"ON X GOTO *A,*B,,*C:ON X GOSUB *D", "*A@10 *B@13 *C@17 *D@31"},
      {"ON ERROR GOTO *E:RESUME *F:RESTORE *G:RUN *H:RETURN *I", "*E@14 *F@24 *G@35 *H@42 *I@52"},
      {"RENUM 100,*A,10:RENUM ,*B:RENUM *C", "*A@10 *B@23"},
      {"LIST *A-*B:LLIST -*C:DELETE *D-", "*A@5[ *B@8] *C@18] *D@28("},
      {"IF ERL=*A OR ERL<*B OR *C<=ERL THEN *D", "*A@7 *B@17< *C@23>= *D@36"},
      {"ON *A>ERL GOTO *B", "*A@3< *B@15"},
      {"GOTO *REMOTE:GOTO *DATA1,*GOTOX", "*REMOTE@5 *DATA1@18"},
      {"X=A*B:Y=(A)*C:PRINT *D:Z=2*ERL<*E:GOTO *", ""},
      {"10 GOSUB *A\t' GOTO *B", "*A@9"},
      {"PRINT \"*A\";X:GOTO 5\t'x", "5@18"},
  };
  const char *const marks[] = {"", "(", "[", "]", ">=", ">", "<=", "<"};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    const QString line = QString::fromUtf8(c.line);
    QStringList found;
    for (const LineReference &ref : readLine(line, kWords, LineForm::Source).references) {
      EXPECT_EQ(ref.label, ref.isLabel() ? line.mid(ref.start + 1, ref.length - 1) : QString());
      found << line.mid(ref.start, ref.length) + u'@' + QString::number(ref.start) + marks[int(ref.range)];
    }
    EXPECT_EQ(found.join(u' '), QString::fromUtf8(c.references));
  }
  EXPECT_TRUE(readLine(u"10 GOTO *A", kWords).references.empty());
}

// Each line as its kind's letter, its text, and + where it continues.
TEST(SourceForm, ReadsEveryKindOfLine) {
  const struct {
    const char *line;
    const char *read;
  } cases[] = {
      {"   ", "B"},
      {"  ' GOTO *A", "C"},
      {"\t' only", "C"},
      {"  *Main  \t' the loop", "L:Main"},
      {"*A_1", "L:A_1"},
      {"*A:PRINT", "P:*A:PRINT"},
      {"*A B", "P:*A B"},
      {"*1", "P:*1"},
      {"*", "P:*"},
      {"*ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJ", "L:ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJ"},
      {"*ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJK", "P:*ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJK"},
      {"0010  PRINT A  ", "N:PRINT A  "},
      {"10\t' only", "N:"},
      {"  \tPRINT A \t' note", "P:PRINT A"},
      {"PRINT \"a\t'b\"\t'c", "P:PRINT \"a\t'b\""},
      {"PRINT 'a\t'b", "P:PRINT 'a"},
      {"REM x \t'y", "P:REM x"},
      {"DATA 1,\"\t'\"\t'z", "P:DATA 1,\"\t'\""},
      {"PRINT\t 'x", "P:PRINT"},
      {"PRINT '\tx", "P:PRINT '\tx"},
      {"PRINT A: \t' more", "P:PRINT A:+"},
      {"IF A THEN:", "P:IF A THEN:+"},
      {"PRINT \"A:", "P:PRINT \"A:"},
      {"REM A:", "P:REM A:"},
      {"PRINT ':", "P:PRINT ':"},
      {"DATA A:", "P:DATA A:+"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    const QString line = QString::fromUtf8(c.line);
    const TextLines split = splitLines(line);
    const SourceLine read = readSource(split, kWords).at(0);
    QString shown(QChar(u"BCLNP"[int(read.kind)]));
    if (read.kind >= SourceLineKind::Label) {
      shown += u':' + line.mid(read.textStart, read.textEnd - read.textStart) +
               QString::fromLatin1(read.read.continues ? "+" : "");
    }
    EXPECT_EQ(shown, QString::fromUtf8(c.read));
  }
  EXPECT_EQ(labelNames(u"*b\n*A\nGOTO *c\n  *B"), QStringList({"A", "B"})); // each once
}

TEST(SourceForm, BuildsTheNumberedProgram) {
  const std::string longText(242, 'X');
  const std::string notLabel =
      "」はラベルとして読めません。ラベルの行は *名前 だけで、名前は英字か _ で始まる 40 文字までです";
  const struct {
    std::string source;
    std::string built; // or "line:refusal"
    int step = 10;
  } cases[] = {
      {"PRINT 1\n  PRINT 2\n", "10 PRINT 1\n20 PRINT 2\n"},
      {"A\n\n' end\n", "10 A\n"},
      {"", ""},
      {"100 A\nB\n105  C\nD", "100 A\n101 B\n105 C\n115 D"},
      {"A\n5 B\nC", "0 A\n5 B\n105 C", 100},
      {"65525 A\nB", "65525 A\n65526 B"},
      {"IF A THEN PRINT: \n\n  ' c\n   GOTO *X\t' go\n*X\nEND", "10 IF A THEN PRINT:GOTO 20\n20 END"},
      {"A:\n B:\n  C\nD:", "10 A:B:C\n20 D:"},
      {"PRINT \"A:\nB\nREM C:\nD", "10 PRINT \"A:\n20 B\n30 REM C:\n40 D"},
      {"PRINT \"'\t'\"\t' c\nPRINT 'x\t'y", "10 PRINT \"'\t'\"\n20 PRINT 'x"},
      {"*Top\n*top2\n GOTO *TOP\n GOTO *Top2", "10 GOTO 10\n20 GOTO 10"},
      {"*A\nON X GOTO *a,*B,30:LIST *A-*B:IF ERL<*B THEN RESUME *A\n*B\n30 END",
       "10 ON X GOTO 10,30,30:LIST 10-30:IF ERL<30 THEN RESUME 10\n30 END"},
      {"10 A\nB\n11 C:GOTO *X", "1:行 11 の前に番号を振れる余地がありません"}, // the first refusal only
      {"A\n0 B", "0:行 0 の前に番号を振れる余地がありません"},
      {"A\n1 B", "0 A\n1 B"},
      {"A\nB", "1 A\n2 B", 0},
      {"65529 A\nB", "1:新しい行番号が 65529 を超えます。"},
      {"A\n*A\n' c", "1:ラベル *A の後に行がありません"},
      {"*A\nX\n*a\nY", "2:ラベル *a が重複しています"},
      {"X\n  GOTO *B", "1:ラベル *B への参照がありますが、そのラベルはありません"},
      {"A:\n20 B", "1:「:」で終わる行の続きに、番号付きの行やラベルは置けません"},
      {"A:\n' c\n*L\nB", "2:「:」で終わる行の続きに、番号付きの行やラベルは置けません"},
      {"20 A\n020 B", "1:行番号 20 が重複しています"},
      {"20 A\nB\n10 C", "2:行番号 10 が前の行番号 20 より小さくなっています"},
      {"A\n65530 B", "1:行番号 65530 が 65529 を超えています"},
      {"PRINT 1\n GOTO 20", "1:行 20 への参照がありますが、その番号を書いた行はありません"},
      {"10 LIST 10-20:IF ERL<20 THEN 10", "10 LIST 10-20:IF ERL<20 THEN 10"},
      {"A\n  *1ABC", "1:「*1ABC" + notLabel},
      {"*A B\t' x", "0:「*A B" + notLabel},
      {"A:\n*ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJK",
       "1:「*ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJK" + notLabel},
      {"A\nPRINT \"" + longText + "\"", "10 A\n20 PRINT \"" + longText + "\""},
      {"A\nPRINT \"" + longText + "\"", "1:1 行が 255 バイトを超えています (256 バイト)", 10000},
      {"PRINT \"" + longText.substr(120) + "\":\nPRINT \"" + longText.substr(120) + "\"",
       "0:1 行が 255 バイトを超えています (264 バイト)"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.source);
    const BuiltProgram built = buildProgram(q(c.source), kWords, c.step);
    ASSERT_LE(built.refusals.size(), 1U);
    EXPECT_EQ(built.refused() ? QString::number(built.refusals[0].line) + u':' + built.refusals[0].message
                              : built.text,
              q(c.built));
  }
}

TEST(SourceForm, MapsEachBuiltLineToItsSourceLines) {
  const BuiltProgram built = buildProgram(u"' c\nA:\n\n B:\n' d\n C\n*L\n20 D:\n E\nF", kWords);
  QStringList map;
  for (size_t k = 0; k < built.lineCount(); ++k) {
    QStringList lines;
    for (const int line : built.sourceLinesOf(k)) {
      lines << QString::number(line);
    }
    map << lines.join(u',');
  }
  EXPECT_EQ(map.join(u' '), QStringLiteral("1,3,5 7,8 9"));
  EXPECT_EQ(encodeProgram(built).bytes, "10 A:B:C\r\n20 D:E\r\n30 F");
  // Text Shift-JIS cannot hold is refused on the line that holds it.
  const EncodedProgram refused = encodeProgram(buildProgram(u"A:\n B:\n C\u00E9", kWords));
  EXPECT_TRUE(refused.bytes.isEmpty());
  ASSERT_TRUE(refused.refusal);
  EXPECT_EQ(QString::number(refused.refusal->line) + refused.refusal->message,
            QStringLiteral("2「\u00E9」(U+00E9) は Shift-JIS で保存できません"));
  // So is a byte that would read back as part of another character.
  const QString misread = QStringLiteral("A:\n B") + cp932::decode("\x81") + u'A';
  EXPECT_EQ(encodeProgram(buildProgram(misread, kWords)).refusal.value().line, 1);
}

// Each finding as line, E or W, and its text; the notes as the summary tells them.
TEST(SourceForm, ChecksTheSourceThroughItsBuild) {
  const struct {
    const char *source;
    const char *findings;
  } cases[] = {
      {"*A\nGOTO *A\n*B\n*b\nX\nGOTO *C:GOTO *c",
       "-1E:ビルドできないため、ほかの規則では調べていません|"
       "2W:ラベル *B はどこからも使われていません|3E:ラベル *b が重複しています|"
       "5E:ラベル *C への参照がありますが、そのラベルはありません|"
       "5E:ラベル *c への参照がありますが、そのラベルはありません"},
      {"' c\n*A\nPRINT:\n LIST -70000:END\n30 A\nB:\n GOTO *A",
       "-1E:行番号の順序と重複は、ソース形式ではビルドが調べます|3E:行 70000 への参照は範囲外です (65529 "
       "まで)|"
       "4W:[到達不能] 行 30 は前の(3 行目、番号なし) "
       "から続かず、どこからも参照されていないので実行されません"},
      {"20 A\nB\n10 C", "-1E:ビルドできないため、ほかの規則では調べていません|"
                        "2E:行番号 10 が前の行番号 20 より小さくなっています"},
      // *E names no line: its use stays as written (the check reads no line past the last).
      {"20 A\n10 B\nGOTO 5:GOTO *E\n*1X\nC:\n30 D\n*E",
       "-1E:ビルドできないため、ほかの規則では調べていません|1E:行番号 10 が前の行番号 20 "
       "より小さくなっています|"
       "2E:行 5 への参照がありますが、その番号を書いた行はありません|3E:「*1X」はラベルとして読めません。"
       "ラベルの行は *名前 だけで、名前は英字か _ で始まる 40 文字までです|"
       "5E:「:」で終わる行の続きに、番号付きの行やラベルは置けません|"
       "6E:ラベル *E の後に行がありません"},
      {"' c\nABC=1:\n ABD=2",
       "-1E:行番号の順序と重複は、ソース形式ではビルドが調べます|"
       "2W:[変数名] ABC (2 行目) と ABD は最初の 2 文字が同じなので、実機には同じ変数です"},
      {"PRINT A:\n  PRINT（B)\nEND",
       "-1E:行番号の順序と重複は、ソース形式ではビルドが調べます|"
       "1E:[全角] 全角の「（」があります。実機は文字列とコメントの外では半角しか読めません"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.source);
    QStringList found;
    for (const Finding &f : checkSource(QString::fromUtf8(c.source), kWords, {})) {
      found << QString::number(f.line) + (f.error ? u'E' : u'W') + u':' + f.message;
    }
    EXPECT_EQ(found.join(u'|'), QString::fromUtf8(c.findings));
  }
  EXPECT_EQ(checkSource(u"PRINT（1)", kWords, {}).back().where, "(1 行目、番号なし)"); // the first line too
}

TEST(SourceForm, LabelFormRefusesWhatItCannotHold) {
  const QString big = u'1' + QString(39, u'0'); // too long for a label's name
  const LabelForm form = toLabelForm(
      QStringLiteral("10 GOTO 5:LIST 10-15:IF ERL<7 THEN 10:GOSUB 25\nPRINT\n\n20 A:\n30 GOTO *Z\n25 C\n"
                     "40 PRINT\t'x\n50 GOTO %1\n%1 B:")
          .arg(big),
      kWords);
  QStringList refusals;
  for (const LineError &e : form.refusals) {
    refusals << QString::number(e.line) + u':' + e.message;
  }
  EXPECT_EQ(refusals.join(u'\n'),
            QStringLiteral("0:行 5 への参照がありますが、その行はありません\n"
                           "0:行 15 への参照がありますが、その行はありません\n"
                           "0:行 7 への参照がありますが、その行はありません\n"
                           "1:行番号がありません\n"
                           "3:「:」で終わる行の続きに、番号付きの行やラベルは置けません\n"
                           "4:ラベル *Z への参照がありますが、そのラベルはありません\n"
                           "5:行番号 25 が前の行番号 30 より小さくなっています\n"
                           "6:タブの後の「'」はソース形式では注釈になり、プログラムから外れます\n"
                           "7:行番号 %1 はラベルの名前には長すぎます")
                .arg(big));
  EXPECT_TRUE(form.text.isEmpty());
}

TEST(SourceForm, LabelFormLabelsTheLinesReferencesName) {
  const LabelForm form = toLabelForm(u"10 GOTO 30\n20  PRINT\n\n30 GOTO 010\n", kWords);
  EXPECT_EQ(form.text, QStringLiteral("*L10\nGOTO *L30\nPRINT\n\n*L30\nGOTO *L10\n"));
  EXPECT_EQ(form.newLineOf, (std::vector<int>{1, 2, 3, 5}));
  EXPECT_EQ(form.lineCount, 6);
  EXPECT_EQ(
      toLabelForm(u"1 ' hi\n2\n3 40\n4 *A\n5 GOTO 2\n6 *ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJ", kWords, 5)
          .text,
      QStringLiteral(
          "5 ' hi\n*L2\n10 \n15 40\n20 *A\nGOTO *L2\n30 *ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJ"));
}

// Renumbered with one space after each number.
QString spaced(const QString &numbered) {
  static const QRegularExpression number(QStringLiteral("^[ \\t]*(\\d+)[ \\t]*"),
                                         QRegularExpression::MultilineOption);
  return QString(numbered).replace(number, QStringLiteral("\\1 "));
}

TEST(SourceForm, LabelFormBuildsBackIntoTheRenumberedProgram) {
  const char *const programs[] = {
      "5 ON X GOTO 10,20,,5\n10 ON X GOSUB 20,5\n20 RETURN 10",
      "100 LIST 100-300\n200 LLIST -200\n300 DELETE 200-",
      "1 ON ERROR GOTO 3\n2 ERROR 5\n3 IF ERL=2 THEN RESUME 1 ELSE RESUME NEXT",
      "10 IF ERL<30 OR ERL>=10 THEN 20\n20 IF 30>ERL THEN 10\n30 END",
      "10 RESTORE 40:READ A\n20 RUN 10:RENUM 100,20\n30 ON ERROR GOTO 0:RESUME 0\n40 DATA 1,2",
      "10 ' comment\n20 PRINT\"GOTO 10\":REM GOTO 20\n30 GOTO 10\n",
      "0010 GOTO 0020\n0020 GOTO 010",
      "10 IF A THEN 20 ELSE 30\n20 IFB THEN30ELSE10\n30 GO TO 20:GOTO 10_",
      "10 FOR I=1 TO 3:GOSUB 40:NEXT\n20 END\n40 PRINT I:RETURN",
      "10 PRINT\n20\n30 40\n40 GOTO 30",
      "10 LIST 20\n20 LIST 10-20\n30 DELETE 10-30",
      "10 IF 20=ERL THEN 10\n20 IF 10<>ERL THEN 20",
      "10 X=A*B:GOTO 20\n20 PRINT 10*2:IF X*ERL<20 THEN 10",
      "10 PRINT \"A'B\t'\"\n20 GOTO 10 'again\n",
      "10 IF ERL<=20 AND ERL>10 THEN RUN 30\n20 GOTO 30\n30 STOP",
      "10  PRINT  \n20PRINT\n30\tGOTO 10",
      "10 GOTO 65000\n65000 GOTO 10:'*A\n65100 *B",
      "10 *A B\n20 *1X:GOTO 10",
  };
  for (const char *program : programs) {
    for (const int step : {10, 7}) {
      SCOPED_TRACE(std::string(program) + " step " + std::to_string(step));
      const QString text = QString::fromUtf8(program);
      const LabelForm source = toLabelForm(text, kWords, step);
      ASSERT_TRUE(source.refusals.empty()) << source.refusals.front().message.toStdString();
      const BuiltProgram built = buildProgram(source.text, kWords, step);
      ASSERT_FALSE(built.refused()) << built.refusals[0].message.toStdString();
      EXPECT_EQ(built.text, spaced(renumber(text, {step, step, {}, {}}, kWords).text));
    }
  }
}

} // namespace
} // namespace kavrin::basic
