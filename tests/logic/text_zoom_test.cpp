#include "logic/text_zoom.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace kavrin {
namespace {

// The steps are the sizes users see, from the smallest to the largest.
TEST(TextZoom, StepsGoToTheNextSizeAndStopAtTheEnds) {
  const std::vector<double> steps{6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 28, 32, 36, 48, 60, 72};
  for (const bool larger : {true, false}) {
    std::vector<double> walked{larger ? steps.front() : steps.back()};
    for (double next = zoomedSize(walked.back(), larger); next != walked.back();
         next = zoomedSize(next, larger)) {
      walked.push_back(next);
    }
    EXPECT_EQ(larger ? walked : std::vector<double>(walked.rbegin(), walked.rend()), steps);
  }
  const std::tuple<double, bool, double> between[] = {{10.5, true, 11}, {10.5, false, 10}, {100, false, 72},
                                                      {100, true, 100}, {5, false, 5},     {5, true, 6}};
  for (const auto &[from, larger, to] : between) {
    EXPECT_EQ(zoomedSize(from, larger), to) << from << ' ' << larger;
  }
}

} // namespace
} // namespace kavrin
