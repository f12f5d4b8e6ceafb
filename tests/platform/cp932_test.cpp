#include "platform/cp932.h"
#include "widgets/rich_edit.h"

#include <gtest/gtest.h>

namespace kavrin::cp932 {
namespace {

QByteArray bytes(std::initializer_list<int> list) {
  QByteArray b;
  for (int v : list) {
    b.append(static_cast<char>(v));
  }
  return b;
}

TEST(Cp932, ByteRules) {
  // Lead bytes 81-9F and E0-FC; trail bytes 40-7E and 80-FC.
  const int rows[][3] = {{0x3F, 0, 0}, {0x40, 0, 1}, {0x7E, 0, 1}, {0x7F, 0, 0}, {0x80, 0, 1}, {0x81, 1, 1},
                         {0x9F, 1, 1}, {0xA0, 0, 1}, {0xDF, 0, 1}, {0xE0, 1, 1}, {0xFC, 1, 1}, {0xFD, 0, 0}};
  for (const auto &[byte, lead, trail] : rows) {
    SCOPED_TRACE(byte);
    EXPECT_EQ(isLeadByte(std::uint8_t(byte)), lead != 0);
    EXPECT_EQ(isTrailByte(std::uint8_t(byte)), trail != 0);
  }
  EXPECT_EQ(charLength(bytes({0x41, 0x82, 0xA0}), 1), 2);
  EXPECT_EQ(charLength(bytes({0x82, 0x3F}), 0) + charLength(bytes({0x82}), 0), 2);
}

TEST(Cp932, EveryOneAndTwoByteSequenceRoundTrips) {
  int failures = 0;
  for (int a = 0; a < 256; ++a) {
    for (int b = -1; b < 256 && failures < 10; ++b) {
      if (a == '\r' || a == '\n' || b == '\r' || b == '\n') {
        continue;
      }
      const QByteArray in = b < 0 ? bytes({a}) : bytes({a, b});
      const Encoded out = encode(decode(in));
      if (out.bytes != in || !out.ok() || (b < 0 && decode(in).size() != 1)) {
        ++failures;
        ADD_FAILURE() << std::hex << "sequence " << a << " " << b;
      }
    }
  }
}

TEST(Cp932, SavedBytes) {
  // Decoded as Windows does, and saved back the same.
  const struct {
    QByteArray bytes;
    QString text;
  } rows[] = {{bytes({0x82, 0xA0, 0xB1}), QStringLiteral("あｱ")},
              {bytes({0x5C, 0x7E, 0x81, 0x5F, 0x81, 0x60}), QStringLiteral("\\~\uFF3C\uFF5E")},
              {bytes({0x81, 0xE0, 0x87, 0x54, 0xFA, 0x40, 0xFC, 0x4B}), QStringLiteral("≒Ⅰⅰ\u9ED1")},
              // User-defined characters are private-use but no placeholders.
              {bytes({0xF0, 0x40}), QStringLiteral("\uE000")},
              // 0x85 0x9F is unassigned; its trail byte must not pair with 0x82.
              {bytes({0x85, 0x9F, 0x82, 0xA0}), QStringLiteral("\uF785\uF79Fあ")},
              {bytes({'A', 0x80, 0xA0, 0xFD, 0x7F, 0x00, 0x82}),
               QString::fromUtf16(u"A\uF780\uF7A0\uF7FD\x7F\0\uF782", 7)}};
  for (const auto &r : rows) {
    SCOPED_TRACE(r.bytes.toHex().constData());
    EXPECT_EQ(decode(r.bytes), r.text);
    EXPECT_EQ(encode(r.text).bytes, r.bytes);
    EXPECT_TRUE(encode(r.text).ok());
  }
  EXPECT_FALSE(containsReserved(QStringLiteral("\uE000あ")));
  EXPECT_TRUE(containsReserved(QStringLiteral("a\uF780")));
  // NEC's ≒ (87 90) and the IBM ⅰ (EE EF, ED 40) have no way back through
  // Unicode: each gets a placeholder of its own.
  QString seen;
  for (const QByteArray &code : {bytes({0x87, 0x90}), bytes({0xEE, 0xEF}), bytes({0xED, 0x40})}) {
    const QString text = decode(code);
    ASSERT_EQ(text.size(), 1);
    EXPECT_TRUE(isReserved(text[0].unicode()));
    EXPECT_FALSE(seen.contains(text));
    EXPECT_EQ(encode(text).bytes, code);
    seen += text;
  }
}

TEST(Cp932, EachKindOfLineBreakReadsAsOneAndSavesAsCrLf) {
  const QString text = decode("a\r\nb\rc\nd\n\re\r\r\n");
  EXPECT_EQ(text, QStringLiteral("a\nb\nc\nd\n\ne\n\n"));
  EXPECT_EQ(encode(text).bytes, QByteArray("a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\n"));
  EXPECT_EQ(encode(QStringLiteral("x\u2029y\u2028z\r\nw\r")).bytes, QByteArray("x\r\ny\r\nz\r\nw\r\n"));
  EXPECT_EQ(decodeVerbatim("a\r\nb\rc\n"), QStringLiteral("a\r\nb\rc\n"));
}

TEST(Cp932, CharactersOutsideTheCodePageAreReportedNotReplaced) {
  const Encoded e = encode(QStringLiteral("10 PRINT \"é\u00A5😀\"\n"));
  EXPECT_EQ(e.firstUnencodable, 10);
  EXPECT_EQ(e.unencodableCount, 3); // the emoji is one character
  EXPECT_EQ(e.bytes, QByteArray("10 PRINT \"\"\r\n"));
  // A pasted private-use character that would stand for a line feed.
  EXPECT_FALSE(encode(QStringLiteral("\uF70A")).ok());
  EXPECT_FALSE(isReserved(0xF70A));
}

TEST(Cp932, EditorKeepsEveryDecodedCharacter) {
  QByteArray in;
  for (int b = 0; b < 256; ++b) {
    in.append(b == '\r' || b == '\n' ? ' ' : char(b));
  }
  for (int lead : {0x81, 0x87, 0x9F, 0xE0, 0xED, 0xEE, 0xF0, 0xFA, 0xFC}) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      in.append(char(lead)).append(char(trail));
    }
  }
  RichEdit editor;
  editor.setText(decode(in));
  EXPECT_EQ(encode(editor.rawText()).bytes, in);
  EXPECT_TRUE(editor.marksPlaceholders());
}

} // namespace
} // namespace kavrin::cp932
