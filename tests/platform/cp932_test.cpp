#include "platform/cp932.h"

#include <gtest/gtest.h>

namespace kavrin::cp932 {
namespace {

TEST(Cp932, ByteRules) {
  const int rows[][3] = {{0x3F, 0, 0}, {0x40, 0, 1}, {0x7E, 0, 1}, {0x7F, 0, 0}, {0x80, 0, 1}, {0x81, 1, 1},
                         {0x9F, 1, 1}, {0xA0, 0, 1}, {0xDF, 0, 1}, {0xE0, 1, 1}, {0xFC, 1, 1}, {0xFD, 0, 0}};
  for (const auto &[byte, lead, trail] : rows) {
    SCOPED_TRACE(byte);
    EXPECT_EQ(isLeadByte(std::uint8_t(byte)), lead != 0);
    EXPECT_EQ(isTrailByte(std::uint8_t(byte)), trail != 0);
  }
  EXPECT_EQ(charLength("A\x82\xA0", 1), 2);
  EXPECT_EQ(charLength("\x82\x3F", 0) + charLength("\x82", 0), 2);
}

TEST(Cp932, EveryOneAndTwoByteSequenceRoundTrips) {
  int failures = 0;
  for (int a = 0; a < 256; ++a) {
    for (int b = -1; b < 256 && failures < 10; ++b) {
      if (a == '\r' || a == '\n' || b == '\r' || b == '\n') {
        continue;
      }
      const QByteArray in = QByteArray(1, char(a)) + (b < 0 ? QByteArray() : QByteArray(1, char(b)));
      const Encoded out = encode(decode(in));
      if (out.bytes != in || !out.exact() || (b < 0 && decode(in).size() != 1)) {
        ++failures;
        ADD_FAILURE() << std::hex << "sequence " << a << " " << b;
      }
    }
  }
}

TEST(Cp932, SavedBytes) {
  // Decoded as Windows does and saved back the same; user-defined characters (F0 40) are private-use but no
  // placeholders; 85 9F is unassigned and its trail byte must not pair with 82.
  const struct {
    QByteArray bytes;
    QString text;
  } rows[] = {
      {"\x82\xA0\xB1\x5C\x7E\x81\x5F\x81\x60", QStringLiteral("あｱ\\~\uFF3C\uFF5E")},
      {"\x81\xE0\x87\x54\xFA\x40\xFC\x4B\xF0\x40", QStringLiteral("≒Ⅰⅰ\u9ED1\uE000")},
      {"\x85\x9F\x82\xA0", QStringLiteral("\uF785\uF79Fあ")},
      {QByteArray("A\x80\xA0\xFD\x7F\0\x82", 7), QString::fromUtf16(u"A\uF780\uF7A0\uF7FD\x7F\0\uF782", 7)}};
  for (const auto &r : rows) {
    SCOPED_TRACE(r.bytes.toHex().constData());
    EXPECT_EQ(decode(r.bytes), r.text);
    EXPECT_EQ(encode(r.text).bytes, r.bytes);
  }
  EXPECT_FALSE(containsReserved(rows[1].text));
  EXPECT_TRUE(containsReserved(rows[3].text));
  // Row 13's ≒ (87 90) and the codes of rows 89-92 (EE EF, ED 40), whose characters come back from Unicode as
  // other codes, each get a placeholder of its own.
  QString seen;
  for (const QByteArray code : {"\x87\x90", "\xEE\xEF", "\xED\x40"}) {
    const QString text = decode(code);
    ASSERT_EQ(text.size(), 1);
    EXPECT_TRUE(isReserved(text[0].unicode()) && !seen.contains(text));
    EXPECT_EQ(encode(text).bytes, code);
    seen += text;
  }
}

TEST(Cp932, LineBreaksAndUnencodableCharacters) {
  EXPECT_EQ(decode("a\r\nb\rc\nd\n\re\r\r\n"), QStringLiteral("a\nb\nc\nd\n\ne\n\n"));
  EXPECT_EQ(decodeVerbatim("a\r\nb\rc\n"), QStringLiteral("a\r\nb\rc\n"));
  EXPECT_EQ(encode(QStringLiteral("a\nb\u2029c\u2028d\r\ne\r\r\n")).bytes,
            QByteArray("a\r\nb\r\nc\r\nd\r\ne\r\n\r\n"));
  // Characters outside the code page are reported, not replaced.
  const Encoded e = encode(QStringLiteral("10 PRINT \"é\u00A5😀\"\n"));
  EXPECT_EQ(e.firstUnencodable, 10);
  EXPECT_EQ(e.unencodableCount, 3); // the emoji is one character
  EXPECT_EQ(e.bytes, QByteArray("10 PRINT \"\"\r\n"));
  // A pasted private-use character that would stand for a line feed.
  EXPECT_FALSE(encode(QStringLiteral("\uF70A")).ok() || isReserved(0xF70A));
}

TEST(Cp932, APlaceholderThatWouldReadBackAsAnotherCharacterIsReported) {
  // Loaded and saved unchanged: nothing to report, the same bytes.
  for (const QByteArray bytes :
       {"\x85\x9F\x85\x41\x85\xB1\xEB\x40\x85\x80\x81", "\x81\r\n\x81 \x81\x7F\x81\xFD\x81\x3F",
        "\xFC\r\n\x80\xA0\xFD\xFE\xFF\x85\x9F\xE0"}) {
    SCOPED_TRACE(bytes.toHex().constData());
    const Encoded out = encode(decode(bytes));
    EXPECT_TRUE(out.exact());
    EXPECT_EQ(out.bytes, bytes);
  }
  // Edited: where the first placeholder is that would change (-1: none).
  const struct {
    const char16_t *text;
    int at;
  } rows[] = {
      {u"\uF781A", 0},               // 81 41 reads as 、
      {u"x\uF781\uFF71", 1},         // with half-width katakana
      {u"\uF781\uF781 ", 0},         // 81 81 reads as ＝
      {u"\uF781\uF780", 0},          // 81 80 reads as ÷
      {u"\uF785あ", 0},              // its trail byte would be the lead of あ
      {u"\uF785\uF480", 0},          // or of a duplicate code's placeholder
      {u"\uF785\uF79F\uF785", -1},   // an unassigned code, then a lone lead at the end
      {u"\uF785\uF79F\uF741", 2},    // a trail byte alone reads as A
      {u"\uF7B1\uF7FD\uF741", 0},    // so does a katakana byte
      {u"\uF7FD\uF77F", 1},          // and 7F, which is no trail byte
      {u"\uF781é\uF741", 2},         // an unencodable character parts them
      {u"\uF781\u2029\uF781\t", -1}, // line breaks and control characters do
  };
  for (const auto &r : rows) {
    const QString text = QString::fromUtf16(r.text);
    SCOPED_TRACE(text.toStdString());
    const Encoded out = encode(text);
    EXPECT_EQ(out.firstMisread, r.at);
    if (out.exact()) {
      EXPECT_EQ(decode(out.bytes), QString(text).replace(u'\u2029', u'\n'));
    }
  }
}

} // namespace
} // namespace kavrin::cp932
