// Code page 932: any bytes survive decoding and encoding but for CR LF line
// ends; any text, edited decoded text too, encodes and decodes back the same
// or names its first unencodable character or misread placeholder.

#include "fuzz_text.h"

#include <QRegularExpression>

using namespace kavrin;

namespace {

void checkEncoding(const QString &t) {
  const cp932::Encoded out = cp932::encode(t);
  const qsizetype first = out.firstUnencodable;
  FUZZ_CHECK(first >= -1 && first < t.size() && (first < 0) == (out.unencodableCount == 0));
  FUZZ_CHECK(out.bytes.size() <= 2 * t.size());
  if (first >= 0) {
    // All before it encodes; it does not, and no more characters than follow count.
    FUZZ_CHECK(cp932::encode(t.first(first)).ok() && !cp932::encode(t.sliced(first, 1)).ok());
    FUZZ_CHECK(out.unencodableCount <= t.sliced(first).toUcs4().size());
  }
  const qsizetype misread = out.firstMisread;
  if (misread >= 0) {
    FUZZ_CHECK(misread < t.size() && cp932::isReserved(t[misread].unicode()));
    // All before it reads back, unless an unencodable character came first.
    FUZZ_CHECK((first >= 0 && first < misread) || cp932::encode(t.first(misread)).exact());
  } else if (out.ok()) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|[\r\u2028\u2029]"));
    FUZZ_CHECK(cp932::decode(out.bytes) == QString(t).replace(lineBreak, QStringLiteral("\n")));
  }
}

// A few edits as a user makes them: units deleted, or the units of one or
// two decoded bytes (ASCII, placeholders, a character) or a part of them
// put in.
QString edited(QString text, FuzzedDataProvider &in) {
  for (int n = in.ConsumeIntegralInRange(1, 4); n > 0 && in.remaining_bytes() > 0; --n) {
    const auto at = in.ConsumeIntegralInRange<qsizetype>(0, text.size());
    if (in.ConsumeBool()) {
      text.remove(at, in.ConsumeIntegralInRange(1, 3));
      continue;
    }
    const std::string bytes = in.ConsumeBytesAsString(in.ConsumeIntegralInRange(1, 2));
    const QString units = cp932::decodeVerbatim(QByteArray::fromStdString(bytes));
    const auto one = in.ConsumeIntegralInRange<qsizetype>(-1, units.size() - 1);
    text.insert(at, one < 0 ? units : units.sliced(one, 1));
  }
  return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  const QByteArray crLf = QByteArray(bytes).replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\r\n");
  const QString text = cp932::decode(bytes);
  FUZZ_CHECK(!text.contains(u'\r'));
  for (const QString &decoded : {cp932::decodeVerbatim(bytes), text}) {
    const cp932::Encoded out = cp932::encode(decoded);
    FUZZ_CHECK(out.exact() && out.bytes == crLf);
  }

  // The same bytes as UTF-16 units, the decoded text, and that text edited.
  FuzzedDataProvider in(data, size);
  for (const QString &t :
       {QString(reinterpret_cast<const QChar *>(data), bytes.size() / 2), text, edited(text, in)}) {
    checkEncoding(t);
  }
  return 0;
}
