#include "logic/text_zoom.h"

#include <algorithm>
#include <iterator>

namespace kavrin {
namespace {

constexpr double kSteps[] = {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 28, 32, 36, 48, 60, 72};

} // namespace

double zoomedSize(double points, bool larger) {
  if (larger) {
    const auto *next = std::upper_bound(std::begin(kSteps), std::end(kSteps), points);
    return next == std::end(kSteps) ? points : *next;
  }
  const auto *next = std::lower_bound(std::begin(kSteps), std::end(kSteps), points);
  return next == std::begin(kSteps) ? points : *std::prev(next);
}

} // namespace kavrin
