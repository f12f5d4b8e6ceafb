#include "logic/converter_output.h"
#include "logic/output_line_numbers.h"
#include "platform/cp932.h"

#include <gtest/gtest.h>

namespace kavrin {
namespace {

QByteArray sjis(const char *utf8) { return cp932::encode(QString::fromUtf8(utf8)).bytes; }

struct Decoded {
  QString text;
  QStringList lines;
};

Decoded decodePieces(const QList<QByteArray> &pieces) {
  ConverterOutputDecoder decoder;
  Decoded all;
  for (const QByteArray &piece : pieces) {
    const DecodedOutput out = decoder.feed(piece);
    all.text += out.text;
    all.lines += out.lines;
  }
  const DecodedOutput last = decoder.finish();
  return {all.text + last.text, all.lines + last.lines};
}

// Each output also split into two pieces at every byte: a character cut in
// two is decoded whole, and the boxes' text is the rows' text.
TEST(ConverterOutputDecoder, EachLineByItsOwnEncodingWhereverThePiecesSplit) {
  const QByteArray invalid("\x80\xff\xa0x\x81", 5);
  const struct {
    QByteArray bytes;
    QStringList lines;
    bool lastEnded;
  } rows[] = {
      {"line 10: error\r\nok\r\n", {"line 10: error", "ok"}, true},
      {"120行目: 文法エラー\n", {"120行目: 文法エラー"}, true},
      {sjis("行 10: 文法エラー\r\n"), {"行 10: 文法エラー"}, true},
      {"é utf8\r" + sjis("ｱ 漢字\r") + "ascii\n" + sjis("表") + "\n",
       {"é utf8", "ｱ 漢字", "ascii", "表"},
       true},
      {"abc\r\r\ndef", {"abc", "", "def"}, false},
      {"\n\n", {"", ""}, true},
      {sjis("縺A\n") + "😀\u0800\n", {"縺A", "😀\u0800"}, true},
      {"\xf4\x8f\xbf\xbd last\n", {QString::fromUtf8("\xf4\x8f\xbf\xbd last")}, true}, // U+10FFFD
      {invalid + "\n€", {cp932::decodeVerbatim(invalid), "€"}, false},
      {"\xed\xa0\x80\n", {cp932::decodeVerbatim("\xed\xa0\x80")}, true}, // a surrogate is no UTF-8
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(r.bytes.toHex(' ').constData());
    const QString text = r.lines.join(u'\n') + (r.lastEnded ? QStringLiteral("\n") : QString());
    for (qsizetype cut = 0; cut <= r.bytes.size(); ++cut) {
      SCOPED_TRACE(cut);
      const Decoded got = decodePieces({r.bytes.first(cut), r.bytes.sliced(cut)});
      EXPECT_EQ(got.lines, r.lines);
      EXPECT_EQ(got.text, text);
    }
  }
  EXPECT_EQ(cp932::encode(decodePieces({invalid}).lines.at(0)).bytes, invalid); // nothing lost
}

// A piece shows at once as far as its encoding can be told.
TEST(ConverterOutputDecoder, AnUnfinishedLineShowsAllButACutCharacter) {
  const struct {
    QByteArray piece;
    const char *shown;
  } rows[] = {{"50%", "50%"},
              {"進捗", "進捗"},
              {QByteArray("進捗").chopped(2), "進"},
              {sjis("進捗"), "進捗"},
              {sjis("進捗").chopped(1), "進"},
              {"ab\xe3", "ab"}};
  for (const auto &r : rows) {
    SCOPED_TRACE(r.piece.toHex(' ').constData());
    ConverterOutputDecoder decoder;
    EXPECT_EQ(decoder.feed(r.piece).text, QString::fromUtf8(r.shown));
  }
}

TEST(OutputLineFinder, TheLineARowNames) {
  const struct {
    const char *pattern;
    const char *text;
    int line; // -1: none
    bool problem;
  } rows[] = {
      {"", "line 120", 120, false},
      {"", "ERROR IN LINE 0010", 10, false},
      {"", "Syntax error in 120", 120, false},
      {"", "120行目: 文法エラー", 120, false},
      {"", "エラー 120 行", 120, false},
      {"", "行 120 で未定義の行番号", 120, false},
      {"", "行120", 120, false},
      {"", "  30: type mismatch", 30, false},
      {"", "12:30:45 done", -1, false},
      {"", "12:30:45 line 40", 40, false},
      {"", "line 120.5", -1, false},
      {"", "line120abc", -1, false},
      {"", "done in 1200ms", -1, false},
      {"", "in 3.5s", -1, false},
      {"", "baseline 5, inline 6", -1, false},
      {"", "line 65529", 65529, false},
      {"", "3 errors in 2 files", -1, false},
      {"", "10行を変換しました", -1, false},
      {"", "変換: 120 行、エラー 0", -1, false},
      {"", "Line 120 of 300", -1, false},
      {"", "error in 120: bad", 120, false},
      {"", "120行: 文法エラー", 120, false},
      {"", "120行 文法エラー", 120, false},
      {"", "第120行でエラー", 120, false},
      {"", "100行まで変換しました", -1, false},
      {"", "error at line 120 of GAME.TXT", 120, false},
      {"", "in line 0", 0, false}, // 0 is a line the machine allows
      {"", "line 65530", -1, false},
      {"", "prog.txt:120: error", -1, false},
      {"", "error 120", -1, false},
      {"E(\\d+)", "E42 at line 7", 42, false},
      {"E(\\d+)", "line 7", -1, false},
      {"E(.+)", "Ex", -1, false},
      {"(", "line 7", 7, true},
      {"E\\d+", "line 7", 7, true},
      {"(E)(\\d+)", "line 7", 7, true},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(std::string(r.pattern) + " / " + r.text);
    const OutputLineFinder finder(QString::fromUtf8(r.pattern));
    const auto line = finder.lineIn(QString::fromUtf8(r.text));
    EXPECT_EQ(line ? int(line->value()) : -1, r.line);
    EXPECT_EQ(finder.problem().isEmpty(), !r.problem) << finder.problem().toStdString();
  }
}

} // namespace
} // namespace kavrin
