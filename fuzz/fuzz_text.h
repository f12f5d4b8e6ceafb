#pragma once

// Shared by the fuzz targets: a check that stops the run naming the failed
// property, and editor text made from the input.

#include "platform/cp932.h"

#include <QString>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#define FUZZ_CHECK(cond)                                                                                     \
  ((cond)                                                                                                    \
       ? void()                                                                                              \
       : (std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #cond), std::abort()))

namespace kavrin::fuzz {

// Text as the editor holds it (Shift-JIS decoded, line breaks folded or
// not) or any UTF-16 units at all, lone surrogates included.
inline QString consumeText(FuzzedDataProvider &in, size_t maxBytes = 256) {
  const int form = in.ConsumeIntegralInRange(0, 2);
  const QByteArray bytes = QByteArray::fromStdString(in.ConsumeRandomLengthString(maxBytes));
  if (form < 2) {
    return form == 0 ? cp932::decode(bytes) : cp932::decodeVerbatim(bytes);
  }
  QString units(bytes.size() / 2, Qt::Uninitialized);
  // memcpy: the input bytes need not be aligned for char16_t.
  std::memcpy(units.data(), bytes.constData(), static_cast<size_t>(units.size()) * sizeof(char16_t));
  return units;
}

} // namespace kavrin::fuzz
