#pragma once

// What the fuzz targets share: a check that names the failed property, and text.

#include "platform/cp932.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

#define FUZZ_CHECK(cond) ((cond) ? void() : qFatal("%s:%d: invariant failed: %s", __FILE__, __LINE__, #cond))

namespace kavrin::fuzz {

// Text as the editor holds it (Shift-JIS decoded, line breaks folded or
// not), or any UTF-16 units, lone surrogates included.
inline QString consumeText(FuzzedDataProvider &in, size_t maxBytes = 256) {
  const int form = in.ConsumeIntegralInRange(0, 2);
  const QByteArray b = QByteArray::fromStdString(in.ConsumeRandomLengthString(maxBytes));
  return form == 0   ? cp932::decode(b)
         : form == 1 ? cp932::decodeVerbatim(b)
                     : QString(reinterpret_cast<const QChar *>(b.constData()), b.size() / 2);
}

} // namespace kavrin::fuzz
