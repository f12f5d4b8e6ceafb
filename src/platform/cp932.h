#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstdint>

// Code page 932 (Windows Shift-JIS) between file bytes and editor text.
//
// The conversion is lossless for every byte sequence whose line breaks are
// CR LF: bytes that do not decode and double-byte codes without a round trip
// through Unicode become reserved private-use units that encode back to the
// same bytes.  The editor shows those units as placeholders.  Edited text may
// put a byte's placeholder where its byte reads back as part of another
// character; encode reports the first such placeholder.
namespace kavrin::cp932 {

// The byte rules of a double-byte character: a lead byte followed by a
// trail byte.  Anything else is one byte on its own.
bool isLeadByte(std::uint8_t b);
bool isTrailByte(std::uint8_t b);

// Bytes of the character that starts at `i` (1 or 2), as decode splits them.
qsizetype charLength(QByteArrayView bytes, qsizetype i);

// Every line break (CR LF, lone CR, lone LF) becomes '\n'.
QString decode(QByteArrayView bytes);

// Like decode, but CR and LF are ordinary characters.
QString decodeVerbatim(QByteArrayView bytes);

struct Encoded {
  QByteArray bytes;
  // Index in the text of the first character that code page 932 cannot
  // hold, or -1.  Such characters are left out of `bytes`.
  qsizetype firstUnencodable = -1;
  qsizetype unencodableCount = 0;
  // Index of the first placeholder whose byte would be read back as (part
  // of) another character, or -1.  Its byte is in `bytes` all the same.
  qsizetype firstMisread = -1;

  bool ok() const { return firstUnencodable < 0; }
  // Decoding `bytes` gives the text back, line breaks aside.
  bool exact() const { return ok() && firstMisread < 0; }
  // The first character that keeps it from doing so, or -1.
  qsizetype firstInexact() const {
    return firstMisread < 0 ? firstUnencodable
           : ok()           ? firstMisread
                            : std::min(firstMisread, firstUnencodable);
  }
};

// '\n', CR LF, a lone CR, U+2028 and U+2029 each become CR LF.
Encoded encode(QStringView text);

// The character at `at` of `text`, a surrogate pair as one.
char32_t characterAt(QStringView text, qsizetype at);
// A character as messages name it: 「X」(U+XXXX).
QString namedCharacter(char32_t code);

// True for the units that stand for undecodable bytes or duplicate codes.
bool isReserved(char16_t unit);

// True when `text` holds at least one reserved unit.
bool containsReserved(QStringView text);

} // namespace kavrin::cp932
