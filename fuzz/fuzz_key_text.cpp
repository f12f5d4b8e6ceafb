// Function-key texts: "(ret)" markers and line breaks convert back and
// forth, and the frame around a stored value comes off again.

#include "fuzz_text.h"

#include "platform/cp932.h"
#include "settings/function_keys.h"

#include <cstddef>
#include <cstdint>

namespace {

using namespace kavrin;

void check(const QString &text) {
  const QString marked = ConvertKeyText(text, true);
  FUZZ_CHECK(!marked.contains(QStringLiteral("\r\n")));
  if (!text.contains(QStringLiteral("(ret)"))) {
    FUZZ_CHECK(ConvertKeyText(marked, false) == text);
  }
  const QString broken = ConvertKeyText(text, false);
  FUZZ_CHECK(!broken.contains(QStringLiteral("(ret)")));
  if (!text.contains(QStringLiteral("\r\n"))) {
    FUZZ_CHECK(ConvertKeyText(broken, true) == text);
  }

  const cp932::Encoded encoded = cp932::encode(text);
  if (encoded.ok() && cp932::decodeVerbatim(encoded.bytes) == text) {
    FUZZ_CHECK(unframeKeyText(frameKeyText(text)) == text);
  }
  // Any stored value, framed or not, loses exactly one byte at each end.
  const QString inner = unframeKeyText(text);
  const qsizetype storedBytes = encoded.bytes.size();
  FUZZ_CHECK(inner.isEmpty() == (storedBytes < 3));
  if (storedBytes >= 3) {
    FUZZ_CHECK(inner == cp932::decodeVerbatim(QByteArrayView(encoded.bytes).sliced(1, storedBytes - 2)));
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  while (in.remaining_bytes() > 0) {
    check(fuzz::consumeText(in, 512));
  }
  return 0;
}
