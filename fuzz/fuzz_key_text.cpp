// Function-key texts: "(ret)" markers and line breaks convert back and
// forth, and a stored value loses exactly its frame, one byte at each end.

#include "fuzz_text.h"

#include "logic/function_keys.h"

using namespace kavrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  while (in.remaining_bytes() > 0) {
    const QString text = fuzz::consumeText(in, 512);
    const QString marked = convertKeyText(text, true);
    const QString broken = convertKeyText(text, false);
    FUZZ_CHECK(!marked.contains(QStringLiteral("\r\n")) && !broken.contains(QStringLiteral("(ret)")));
    FUZZ_CHECK(text.contains(QStringLiteral("(ret)")) || convertKeyText(marked, false) == text);
    FUZZ_CHECK(text.contains(QStringLiteral("\r\n")) || convertKeyText(broken, true) == text);

    const QByteArray stored = cp932::encode(text).bytes;
    FUZZ_CHECK(cp932::decodeVerbatim(stored) != text || unframeKeyText(frameKeyText(text)) == text);
    const QByteArray inner = cp932::encode(unframeKeyText(text)).bytes;
    FUZZ_CHECK(inner == stored.mid(1, stored.size() - 2) || stored.contains('\r') || stored.contains('\n'));
  }
  return 0;
}
