#pragma once

// Shared by the fuzz targets: strings made from the input, and a check that
// stops the run with a message when an invariant fails.

#include "platform/cp932.h"

#include <QByteArray>
#include <QString>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace kavrin::fuzz {

[[noreturn]] inline void fail(const char *what, const char *file, int line) {
  std::fprintf(stderr, "%s:%d: invariant failed: %s\n", file, line, what);
  std::abort();
}

#define FUZZ_CHECK(cond)                                                                                     \
  do {                                                                                                       \
    if (!(cond)) {                                                                                           \
      ::kavrin::fuzz::fail(#cond, __FILE__, __LINE__);                                                       \
    }                                                                                                        \
  } while (0)

inline QByteArray consumeBytes(FuzzedDataProvider &in, size_t maxBytes) {
  const std::string s = in.ConsumeRandomLengthString(maxBytes);
  return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

// Text as the editor holds it (Shift-JIS decoded, line breaks folded or
// not) or any UTF-16 units at all, lone surrogates included.
inline QString consumeText(FuzzedDataProvider &in, size_t maxBytes = 256) {
  const int form = in.ConsumeIntegralInRange(0, 2);
  const QByteArray bytes = consumeBytes(in, maxBytes);
  if (form == 0) {
    return cp932::decode(bytes);
  }
  if (form == 1) {
    return cp932::decodeVerbatim(bytes);
  }
  QString units(bytes.size() / 2, Qt::Uninitialized);
  // memcpy: the input bytes need not be aligned for char16_t.
  std::memcpy(units.data(), bytes.constData(), static_cast<size_t>(units.size()) * sizeof(char16_t));
  return units;
}

} // namespace kavrin::fuzz
