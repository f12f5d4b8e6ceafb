#include "logic/converter_output.h"

#include "platform/cp932.h"

#include <algorithm>
#include <cstdint>

namespace kavrin {
namespace {

// How far `bytes` are whole UTF-8 characters, and whether what follows is
// the start of one that the bytes end before.
struct Utf8Scan {
  qsizetype valid;
  bool cutOff;
};

// The bytes of the sequence that `lead` starts and the range its second byte
// must be in; a length of 0 for a byte that starts none.
struct Utf8Lead {
  int length;
  std::uint8_t low;
  std::uint8_t high;
};

Utf8Lead utf8Lead(std::uint8_t b) {
  if (b < 0x80) {
    return {1, 0, 0};
  }
  if (b < 0xC2 || b > 0xF4) {
    return {0, 0, 0};
  }
  if (b < 0xE0) {
    return {2, 0x80, 0xBF};
  }
  if (b < 0xF0) {
    return {3, std::uint8_t(b == 0xE0 ? 0xA0 : 0x80), std::uint8_t(b == 0xED ? 0x9F : 0xBF)};
  }
  return {4, std::uint8_t(b == 0xF0 ? 0x90 : 0x80), std::uint8_t(b == 0xF4 ? 0x8F : 0xBF)};
}

Utf8Scan scanUtf8(QByteArrayView bytes) {
  const qsizetype n = bytes.size();
  qsizetype i = 0;
  while (i < n) {
    const auto b = std::uint8_t(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    const Utf8Lead lead = utf8Lead(b);
    if (lead.length == 0) {
      return {i, false};
    }
    for (int k = 1; k < lead.length; ++k) {
      if (i + k >= n) {
        return {i, true};
      }
      const auto c = std::uint8_t(bytes[i + k]);
      if (k == 1 ? (c < lead.low || c > lead.high) : (c < 0x80 || c > 0xBF)) {
        return {i, false};
      }
    }
    i += lead.length;
  }
  return {n, false};
}

bool isAscii(QByteArrayView bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return std::uint8_t(c) < 0x80; });
}

// Where the last whole Shift-JIS character of `bytes` ends: a lead byte at
// the end waits for its trail byte.
qsizetype wholeShiftJis(QByteArrayView bytes) {
  qsizetype i = 0;
  while (i < bytes.size()) {
    if (i + 1 == bytes.size() && cp932::isLeadByte(std::uint8_t(bytes[i]))) {
      return i;
    }
    i += cp932::charLength(bytes, i);
  }
  return i;
}

} // namespace

DecodedOutput ConverterOutputDecoder::feed(QByteArrayView piece) {
  DecodedOutput out;
  qsizetype i = 0;
  while (i < piece.size()) {
    if (afterCr_) {
      afterCr_ = false;
      if (piece[i] == '\n') {
        ++i;
        continue;
      }
    }
    const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    const auto end = std::find_if(piece.begin() + i, piece.end(), isBreak);
    line_.append(piece.sliced(i, end - (piece.begin() + i)));
    i = end - piece.begin();
    if (i < piece.size()) {
      afterCr_ = piece[i] == '\r';
      ++i;
      endLine(out);
    }
  }
  showTail(out.text);
  return out;
}

DecodedOutput ConverterOutputDecoder::finish() {
  DecodedOutput out;
  afterCr_ = false;
  if (!line_.isEmpty()) {
    endLine(out);
    out.text.chop(1); // the line had no break
  }
  return out;
}

void ConverterOutputDecoder::endLine(DecodedOutput &out) {
  const bool ascii = isAscii(line_);
  const bool utf8 = !ascii && scanUtf8(line_).valid == line_.size();
  QString whole = ascii  ? QString::fromLatin1(line_)
                  : utf8 ? QString::fromUtf8(line_)
                         : cp932::decodeVerbatim(line_);
  // What is left to show follows the line's reading, unless the part shown
  // already turned to Shift-JIS.
  out.text += shown_ == 0 ? whole : decodeShown(line_.size(), shiftJis_ || !(ascii || utf8));
  out.text += u'\n';
  out.lines.append(std::move(whole));
  line_.clear();
  shown_ = 0;
  shiftJis_ = false;
}

void ConverterOutputDecoder::showTail(QString &text) {
  const QByteArrayView rest = QByteArrayView(line_).sliced(shown_);
  if (rest.isEmpty()) {
    return;
  }
  if (!shiftJis_) {
    const Utf8Scan scan = scanUtf8(rest);
    if (scan.valid == rest.size() || scan.cutOff) {
      text += decodeShown(shown_ + scan.valid, false);
      shown_ += scan.valid;
      return;
    }
    shiftJis_ = true;
  }
  const qsizetype whole = wholeShiftJis(rest);
  text += decodeShown(shown_ + whole, true);
  shown_ += whole;
}

QString ConverterOutputDecoder::decodeShown(qsizetype end, bool shiftJis) const {
  const QByteArrayView bytes = QByteArrayView(line_).sliced(shown_, end - shown_);
  return shiftJis ? cp932::decodeVerbatim(bytes) : QString::fromUtf8(bytes);
}

} // namespace kavrin
