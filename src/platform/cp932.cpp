#include "platform/cp932.h"

#include "platform/cp932_table.h"

#include <array>
#include <cstdint>
#include <memory>

namespace kavrin::cp932 {
namespace {

constexpr char16_t kNoCode = 0;

int leadIndex(std::uint8_t b) { return b <= 0x9F ? b - 0x81 : b - 0xE0 + 31; }

int trailIndex(std::uint8_t b) { return b < 0x7F ? b - 0x40 : b - 0x41; }

std::uint8_t leadByte(int index) {
  return static_cast<std::uint8_t>(index < 31 ? 0x81 + index : 0xE0 + index - 31);
}

std::uint8_t trailByte(int index) {
  return static_cast<std::uint8_t>(index < 0x3F ? 0x40 + index : 0x41 + index);
}

bool isHalfwidthKatakana(std::uint8_t b) { return b >= 0xA1 && b <= 0xDF; }

constexpr char16_t kKatakanaBase = 0xFF61;

// The lowest raw byte the encoder accepts: lower raw units never come out of
// the decoder, and taking them would let pasted text forge line breaks.
constexpr int kLowestRawByte = 0x40;

// Unicode unit -> code (one byte in the low half, or lead << 8 | trail).
struct EncodeTable {
  std::array<std::uint16_t, 0x10000> code{};

  EncodeTable() {
    for (int lead = 0; lead < kLeadCount; ++lead) {
      for (int trail = 0; trail < kTrailCount; ++trail) {
        const char16_t unit = kDoubleByteTable[lead * kTrailCount + trail];
        if (unit != kNoCode) {
          code[unit] = static_cast<std::uint16_t>(leadByte(lead) << 8 | trailByte(trail));
        }
      }
    }
    for (int b = 0xA1; b <= 0xDF; ++b) {
      code[kKatakanaBase + (b - 0xA1)] = static_cast<std::uint16_t>(b);
    }
    for (int b = kLowestRawByte; b <= 0xFF; ++b) {
      code[kRawByteBase + b] = static_cast<std::uint16_t>(b);
    }
  }
};

const EncodeTable &encodeTable() {
  static const auto table = std::make_unique<EncodeTable>();
  return *table;
}

char16_t doubleByteUnit(std::uint8_t lead, std::uint8_t trail) {
  return kDoubleByteTable[leadIndex(lead) * kTrailCount + trailIndex(trail)];
}

// The first byte that the unit at `i` encodes to, or -1 where none is a
// trail byte: at the end, for unencodable units and for U+2028 and U+2029.
int firstByteAt(const EncodeTable &table, QStringView text, qsizetype i) {
  if (i >= text.size()) {
    return -1;
  }
  const char16_t u = text[i].unicode();
  if (u < 0x80) {
    return u;
  }
  const std::uint16_t code = table.code[u];
  return code == 0 ? -1 : code > 0xFF ? code >> 8 : code;
}

// Writes the byte of the placeholder at `i`, which starts a character for
// the decoder, and returns how many units it took (2 with the trail of an
// unassigned code).  The decoder gives the placeholder back only for a byte
// that is no character alone, and for a lead byte only when no trail byte
// follows or the two form an unassigned code, as it split them.
qsizetype encodePlaceholder(const EncodeTable &table, QStringView text, qsizetype i, std::uint8_t *&o,
                            Encoded &result) {
  const auto b = static_cast<std::uint8_t>(text[i].unicode() - kRawByteBase);
  *o++ = b;
  bool misread = b < 0x80 || isHalfwidthKatakana(b);
  if (isLeadByte(b)) {
    const int next = firstByteAt(table, text, i + 1);
    if (next >= 0 && isTrailByte(static_cast<std::uint8_t>(next))) {
      const auto t = static_cast<std::uint8_t>(next);
      if (text[i + 1].unicode() == kRawByteBase + t && doubleByteUnit(b, t) == kNoCode) {
        *o++ = t;
        return 2;
      }
      misread = true;
    }
  }
  if (misread && result.firstMisread < 0) {
    result.firstMisread = i;
  }
  return 1;
}

template <bool kBreaks> QString decodeImpl(QByteArrayView bytes) {
  const auto *in = reinterpret_cast<const std::uint8_t *>(bytes.data());
  const qsizetype n = bytes.size();
  QString out(n, Qt::Uninitialized);
  char16_t *o = reinterpret_cast<char16_t *>(out.data());
  char16_t *const begin = o;
  qsizetype i = 0;
  while (i < n) {
    const std::uint8_t b = in[i];
    if (b < 0x80) {
      if (kBreaks && b == '\r') {
        *o++ = u'\n';
        i += (i + 1 < n && in[i + 1] == '\n') ? 2 : 1;
        continue;
      }
      *o++ = b;
      ++i;
    } else if (isHalfwidthKatakana(b)) {
      *o++ = static_cast<char16_t>(kKatakanaBase + (b - 0xA1));
      ++i;
    } else if (isLeadByte(b) && i + 1 < n && isTrailByte(in[i + 1])) {
      const std::uint8_t t = in[i + 1];
      const char16_t unit = doubleByteUnit(b, t);
      if (unit != kNoCode) {
        *o++ = unit;
      } else {
        // An unassigned code is kept as two raw bytes so that the trail byte
        // is not read as the start of another character.
        *o++ = static_cast<char16_t>(kRawByteBase + b);
        *o++ = static_cast<char16_t>(kRawByteBase + t);
      }
      i += 2;
    } else {
      *o++ = static_cast<char16_t>(kRawByteBase + b);
      ++i;
    }
  }
  out.truncate(o - begin);
  return out;
}

} // namespace

bool isLeadByte(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool isTrailByte(std::uint8_t b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

qsizetype charLength(QByteArrayView bytes, qsizetype i) {
  return isLeadByte(static_cast<std::uint8_t>(bytes[i])) && i + 1 < bytes.size() &&
                 isTrailByte(static_cast<std::uint8_t>(bytes[i + 1]))
             ? 2
             : 1;
}

QString decode(QByteArrayView bytes) { return decodeImpl<true>(bytes); }

QString decodeVerbatim(QByteArrayView bytes) { return decodeImpl<false>(bytes); }

Encoded encode(QStringView text) {
  const EncodeTable &encoder = encodeTable();
  const auto &table = encoder.code;
  Encoded result;
  const qsizetype n = text.size();
  // Worst case: every unit is a line break or a double-byte character.
  result.bytes.resize(n * 2);
  auto *o = reinterpret_cast<std::uint8_t *>(result.bytes.data());
  auto *const begin = o;
  const char16_t *in = text.utf16();
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t u = in[i];
    if (u < 0x80) {
      if (u == u'\r' || u == u'\n') {
        if (u == u'\r' && i + 1 < n && in[i + 1] == u'\n') {
          ++i;
        }
        *o++ = '\r';
        *o++ = '\n';
      } else {
        *o++ = static_cast<std::uint8_t>(u);
      }
      continue;
    }
    if (u == 0x2028 || u == 0x2029) {
      *o++ = '\r';
      *o++ = '\n';
      continue;
    }
    const std::uint16_t code = table[u];
    if (code == 0) {
      if (result.firstUnencodable < 0) {
        result.firstUnencodable = i;
      }
      ++result.unencodableCount;
      // A surrogate pair is one character.
      if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(in[i + 1])) {
        ++i;
      }
    } else if (code > 0xFF) {
      *o++ = static_cast<std::uint8_t>(code >> 8);
      *o++ = static_cast<std::uint8_t>(code & 0xFF);
    } else if (u >= kKatakanaBase) {
      *o++ = static_cast<std::uint8_t>(code);
    } else {
      i += encodePlaceholder(encoder, text, i, o, result) - 1;
    }
  }
  result.bytes.truncate(o - begin);
  return result;
}

char32_t characterAt(QStringView text, qsizetype at) {
  const QChar first = text[at];
  return first.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate()
             ? QChar::surrogateToUcs4(first, text[at + 1])
             : first.unicode();
}

QString namedCharacter(char32_t code) {
  return QStringLiteral("「%1」(U+%2)")
      .arg(QString::fromUcs4(&code, 1),
           QString::number(static_cast<uint>(code), 16).toUpper().rightJustified(4, u'0'));
}

bool isReserved(char16_t unit) {
  return (unit >= kDuplicateBase && unit < kDuplicateBase + kDuplicateCount) ||
         (unit >= kRawByteBase + kLowestRawByte && unit <= kRawByteBase + 0xFF);
}

bool containsReserved(QStringView text) {
  for (const QChar c : text) {
    if (isReserved(c.unicode())) {
      return true;
    }
  }
  return false;
}

} // namespace kavrin::cp932
