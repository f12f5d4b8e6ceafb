#include "platform/cp932.h"
#include "widgets/rich_edit.h"

#include <gtest/gtest.h>

#include <random>

namespace kavrin::cp932 {
namespace {

QByteArray bytes(std::initializer_list<int> list) {
  QByteArray b;
  for (int v : list) {
    b.append(static_cast<char>(v));
  }
  return b;
}

QByteArray roundTrip(const QByteArray &in) { return encode(decode(in)).bytes; }

TEST(Cp932, EverySingleByteOtherThanALineBreakRoundTrips) {
  for (int b = 0; b < 256; ++b) {
    if (b == '\r' || b == '\n') {
      continue;
    }
    const QByteArray in = bytes({b});
    EXPECT_EQ(roundTrip(in), in) << "byte " << b;
    EXPECT_EQ(decode(in).size(), 1) << "byte " << b;
  }
}

TEST(Cp932, EveryTwoByteSequenceRoundTrips) {
  int failures = 0;
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      if (a == '\r' || a == '\n' || b == '\r' || b == '\n') {
        continue;
      }
      const QByteArray in = bytes({a, b});
      const Encoded out = encode(decode(in));
      if (out.bytes != in || !out.ok()) {
        ADD_FAILURE() << std::hex << "sequence " << a << " " << b;
        if (++failures > 10) {
          return;
        }
      }
    }
  }
}

TEST(Cp932, RandomBuffersWithCrLfBreaksRoundTrip) {
  std::mt19937 random(932);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(0, 4000);
  for (int round = 0; round < 300; ++round) {
    QByteArray in;
    const int n = length(random);
    for (int i = 0; i < n; ++i) {
      int b = byte(random);
      if (b == '\r' || b == '\n') {
        in.append("\r\n");
      } else {
        in.append(static_cast<char>(b));
      }
    }
    ASSERT_EQ(roundTrip(in), in) << "round " << round;
  }
}

TEST(Cp932, EachKindOfLineBreakReadsAsOneAndSavesAsCrLf) {
  const QString text = decode("a\r\nb\rc\nd\n\re\r\r\n");
  EXPECT_EQ(text, QStringLiteral("a\nb\nc\nd\n\ne\n\n"));
  EXPECT_EQ(encode(text).bytes, QByteArray("a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\n"));
  // The editor may hand over its own separators.
  EXPECT_EQ(encode(QStringLiteral("x\u2029y\u2028z\r\nw")).bytes, QByteArray("x\r\ny\r\nz\r\nw"));
}

TEST(Cp932, DecodesAsWindowsDoes) {
  EXPECT_EQ(decode(bytes({0x82, 0xA0})), QStringLiteral("あ"));
  EXPECT_EQ(decode(bytes({0xB1})), QStringLiteral("ｱ"));
  EXPECT_EQ(decode(bytes({0x5C, 0x7E})), QStringLiteral("\\~"));
  EXPECT_EQ(decode(bytes({0x81, 0x5F})), QStringLiteral("\uFF3C"));
  EXPECT_EQ(decode(bytes({0x81, 0x60})), QStringLiteral("\uFF5E"));
  EXPECT_EQ(decode(bytes({0x81, 0xE0})), QStringLiteral("≒"));
  EXPECT_EQ(decode(bytes({0x87, 0x54})), QStringLiteral("Ⅰ"));
  EXPECT_EQ(decode(bytes({0xFA, 0x40})), QStringLiteral("ⅰ"));
  // User-defined characters sit in the private-use area and are no
  // placeholders.
  EXPECT_EQ(decode(bytes({0xF0, 0x40})), QStringLiteral("\uE000"));
  EXPECT_FALSE(containsReserved(decode(bytes({0xF0, 0x40}))));
  EXPECT_EQ(encode(QStringLiteral("あｱ≒Ⅰⅰ\uE000")).bytes,
            bytes({0x82, 0xA0, 0xB1, 0x81, 0xE0, 0x87, 0x54, 0xFA, 0x40, 0xF0, 0x40}));
}

TEST(Cp932, DuplicateCodesKeepTheirOwnBytes) {
  // NEC's ≒ (0x8790) and the NEC-selected IBM ⅰ (0xEEEF) have no way back
  // through Unicode; they become placeholders of their own.
  for (const QByteArray &code : {bytes({0x87, 0x90}), bytes({0xEE, 0xEF}), bytes({0xED, 0x40})}) {
    const QString text = decode(code);
    ASSERT_EQ(text.size(), 1);
    EXPECT_TRUE(isReserved(text[0].unicode()));
    EXPECT_EQ(encode(text).bytes, code);
  }
  EXPECT_NE(decode(bytes({0x87, 0x90})), decode(bytes({0xEE, 0xEF})));
}

TEST(Cp932, BytesThatQtLosesSurvive) {
  const QByteArray in = bytes({'A', 0x80, 0xA0, 0xFD, 0xFE, 0xFF, 0x1A, 0x1C, 0x7F, 0x00, 'B', 0x82});
  const QString text = decode(in);
  EXPECT_EQ(encode(text).bytes, in);
  EXPECT_TRUE(isReserved(text[1].unicode()));     // 0x80
  EXPECT_TRUE(isReserved(text.back().unicode())); // lone lead byte at the end
  EXPECT_EQ(text[9], QChar(0));                   // NUL
}

TEST(Cp932, AnUnassignedCodeKeepsItsTrailByteFromPairingAgain) {
  // 0x85 0x9F is unassigned; 0x9F must not start a new character with 0x82.
  const QByteArray in = bytes({0x85, 0x9F, 0x82, 0xA0});
  const QString text = decode(in);
  ASSERT_EQ(text.size(), 3);
  EXPECT_EQ(text[2], QChar(u'あ'));
  EXPECT_EQ(encode(text).bytes, in);
}

TEST(Cp932, CharactersOutsideTheCodePageAreReportedNotReplaced) {
  const Encoded e = encode(QStringLiteral("10 PRINT \"é\u00A5😀\"\n"));
  EXPECT_FALSE(e.ok());
  EXPECT_EQ(e.firstUnencodable, 10);
  EXPECT_EQ(e.unencodableCount, 3); // the emoji is one character
  EXPECT_EQ(e.bytes, QByteArray("10 PRINT \"\"\r\n"));
  EXPECT_TRUE(encode(QStringLiteral("10 PRINT \"あ\"")).ok());
}

TEST(Cp932, LowPlaceholdersCannotForgeControlBytes) {
  // A pasted private-use character that would stand for a line feed.
  EXPECT_FALSE(encode(QStringLiteral("\uF70A")).ok());
  EXPECT_FALSE(isReserved(0xF70A));
}

TEST(Cp932, EditorKeepsEveryDecodedCharacter) {
  QByteArray in;
  for (int b = 0; b < 256; ++b) {
    if (b != '\r' && b != '\n') {
      in.append(static_cast<char>(b));
    }
  }
  in.append("\r\n");
  for (int lead : {0x81, 0x87, 0x9F, 0xE0, 0xED, 0xEE, 0xF0, 0xFA, 0xFC}) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      in.append(static_cast<char>(lead)).append(static_cast<char>(trail));
    }
    in.append("\r\n");
  }
  RichEdit editor;
  editor.setText(decode(in));
  EXPECT_EQ(encode(editor.rawText()).bytes, in);
  EXPECT_TRUE(editor.marksPlaceholders());
}

} // namespace
} // namespace kavrin::cp932
