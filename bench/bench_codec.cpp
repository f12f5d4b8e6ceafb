// Shift-JIS decode and encode of the 4 MiB sample, in this process.
#include "figures.h"
#include "measure.h"
#include "platform/cp932.h"

namespace kavrin::bench {
namespace {

constexpr int kCodecRuns = 20;

} // namespace

std::vector<Row> codecFigures(const Workspace &work) {
  const QByteArray &sample = work.sample;
  QString text = cp932::decode(sample);
  QByteArray bytes = cp932::encode(text).bytes;
  if (bytes != sample) {
    throw Failure(QStringLiteral("the sample does not survive decode and encode"));
  }
  std::vector<double> decodeMs, encodeMs;
  for (int i = 0; i < kCodecRuns; ++i) {
    // Assigning keeps each result alive past the clock, as a caller would.
    decodeMs.push_back(millisecondsOf([&] { text = cp932::decode(sample); }));
    encodeMs.push_back(millisecondsOf([&] { bytes = cp932::encode(text).bytes; }));
  }
  dump("decode ms", decodeMs);
  dump("encode ms", encodeMs);
  const double decode = median(decodeMs);
  const double encode = median(encodeMs);
  return {{QStringLiteral("Shift-JIS decode of the 4 MiB file"), QStringLiteral("<= 10 ms"),
           fixed(decode, 2) + QStringLiteral(" ms"), verdict(decode, 10.0, 2)},
          {QStringLiteral("Shift-JIS encode of the 4 MiB file"), QStringLiteral("<= 10 ms"),
           fixed(encode, 2) + QStringLiteral(" ms"), verdict(encode, 10.0, 2)}};
}

} // namespace kavrin::bench
