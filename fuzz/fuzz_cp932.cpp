// Code page 932: any bytes survive decoding and encoding but for CR LF line
// ends; any text encodes, naming its first unencodable character, and back.

#include "fuzz_text.h"

#include <QRegularExpression>

using namespace kavrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  const QByteArray crLf = QByteArray(bytes).replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\r\n");
  const QString text = cp932::decode(bytes);
  FUZZ_CHECK(!text.contains(u'\r'));
  for (const QString &decoded : {cp932::decodeVerbatim(bytes), text}) {
    FUZZ_CHECK(cp932::encode(decoded).ok() && cp932::encode(decoded).bytes == crLf);
  }

  // The same bytes as UTF-16 units, and the decoded text.
  for (const QString &t : {QString(reinterpret_cast<const QChar *>(data), bytes.size() / 2), text}) {
    const cp932::Encoded out = cp932::encode(t);
    const qsizetype first = out.firstUnencodable;
    FUZZ_CHECK(first >= -1 && first < t.size() && (first < 0) == (out.unencodableCount == 0));
    FUZZ_CHECK(out.bytes.size() <= 2 * t.size());
    if (first >= 0) {
      // All before it encodes; it does not, and no more characters than follow count.
      FUZZ_CHECK(cp932::encode(t.first(first)).ok() && !cp932::encode(t.sliced(first, 1)).ok());
      FUZZ_CHECK(out.unencodableCount <= t.sliced(first).toUcs4().size());
    } else if (!cp932::containsReserved(t)) {
      static const QRegularExpression lineBreak(QStringLiteral("\r\n|[\r\u2028\u2029]"));
      FUZZ_CHECK(cp932::decode(out.bytes) == QString(t).replace(lineBreak, QStringLiteral("\n")));
    }
  }
  return 0;
}
