// Code page 932 both ways: file bytes survive decoding and encoding with only
// their line ends made CR LF, and encoding any UTF-16 names its first
// unencodable character correctly.

#include "fuzz_text.h"

#include "platform/cp932.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

using namespace kavrin;

// The bytes with every CR LF, lone CR and lone LF as CR LF.
QByteArray withCrLf(QByteArrayView bytes) {
  QByteArray out;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const char b = bytes[i];
    if (b == '\r' || b == '\n') {
      if (b == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
        ++i;
      }
      out.append("\r\n");
    } else {
      out.append(b);
    }
  }
  return out;
}

// The text with each line break as the decoder gives it.
QString withLf(QStringView text) {
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t u = text[i].unicode();
    if (u == u'\r' || u == u'\n' || u == 0x2028 || u == 0x2029) {
      if (u == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
        ++i;
      }
      out.append(u'\n');
    } else {
      out.append(QChar(u));
    }
  }
  return out;
}

void checkBytes(QByteArrayView bytes) {
  const QByteArray expected = withCrLf(bytes);

  const cp932::Encoded verbatim = cp932::encode(cp932::decodeVerbatim(bytes));
  FUZZ_CHECK(verbatim.ok());
  FUZZ_CHECK(verbatim.bytes == expected);
  // Where every line already ends in CR LF, nothing changes at all.
  if (expected.size() == bytes.size()) {
    FUZZ_CHECK(verbatim.bytes == bytes);
  }

  const QString text = cp932::decode(bytes);
  FUZZ_CHECK(!text.contains(u'\r'));
  const cp932::Encoded folded = cp932::encode(text);
  FUZZ_CHECK(folded.ok());
  FUZZ_CHECK(folded.bytes == expected);
}

void checkText(QStringView text) {
  const cp932::Encoded out = cp932::encode(text);
  const qsizetype first = out.firstUnencodable;
  FUZZ_CHECK(out.bytes.size() <= 2 * text.size());
  FUZZ_CHECK(first >= -1 && first < text.size());
  FUZZ_CHECK((first < 0) == (out.unencodableCount == 0));
  FUZZ_CHECK(out.unencodableCount <= text.size() - std::max<qsizetype>(first, 0));
  if (first >= 0) {
    // Everything before it encodes; it alone (a whole surrogate pair) does not.
    FUZZ_CHECK(cp932::encode(text.first(first)).ok());
    const qsizetype length = QChar::isHighSurrogate(text[first].unicode()) && first + 1 < text.size() &&
                                     QChar::isLowSurrogate(text[first + 1].unicode())
                                 ? 2
                                 : 1;
    const cp932::Encoded alone = cp932::encode(text.sliced(first, length));
    FUZZ_CHECK(alone.firstUnencodable == 0 && alone.unencodableCount == 1 && alone.bytes.isEmpty());
  } else if (!cp932::containsReserved(text)) {
    // Text of real characters comes back, its line breaks folded.
    FUZZ_CHECK(cp932::decode(out.bytes) == withLf(text));
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const QByteArrayView bytes(data, static_cast<qsizetype>(size));
  checkBytes(bytes);

  QString units(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
  std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
  checkText(units);
  // The same bytes decoded: a text the editor could hold.
  checkText(cp932::decode(bytes));
  return 0;
}
