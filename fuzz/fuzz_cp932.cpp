// Code page 932 both ways: any file bytes survive decoding and encoding with
// only their line ends made CR LF, and encoding any text names its first
// unencodable character and otherwise decodes back.

#include "fuzz_text.h"

#include <QRegularExpression>

#include <cstddef>
#include <cstdint>

using namespace kavrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  const QByteArray crLf = QByteArray(bytes).replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\r\n");
  const cp932::Encoded verbatim = cp932::encode(cp932::decodeVerbatim(bytes));
  FUZZ_CHECK(verbatim.ok() && verbatim.bytes == crLf);
  const QString text = cp932::decode(bytes);
  FUZZ_CHECK(!text.contains(u'\r'));
  const cp932::Encoded folded = cp932::encode(text);
  FUZZ_CHECK(folded.ok() && folded.bytes == crLf);

  // The same bytes as UTF-16 units, and the decoded text.
  QString units(bytes.size() / 2, Qt::Uninitialized);
  std::memcpy(units.data(), data, static_cast<size_t>(units.size()) * sizeof(char16_t));
  for (const QString &t : {units, text}) {
    const cp932::Encoded out = cp932::encode(t);
    const qsizetype first = out.firstUnencodable;
    FUZZ_CHECK(first >= -1 && first < t.size() && (first < 0) == (out.unencodableCount == 0));
    FUZZ_CHECK(out.bytes.size() <= 2 * t.size() && out.unencodableCount <= t.size() - first);
    if (first >= 0) {
      // All before it encodes; it does not.
      FUZZ_CHECK(cp932::encode(t.first(first)).ok() && !cp932::encode(t.sliced(first, 1)).ok());
    } else if (!cp932::containsReserved(t)) {
      static const QRegularExpression lineBreak(QStringLiteral("\r\n|[\r\u2028\u2029]"));
      FUZZ_CHECK(cp932::decode(out.bytes) == QString(t).replace(lineBreak, QStringLiteral("\n")));
    }
  }
  return 0;
}
