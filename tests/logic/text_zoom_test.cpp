#include "logic/text_zoom.h"

#include <gtest/gtest.h>

namespace kavrin {
namespace {

TEST(TextZoom, StepsGoToTheNextSizeAndStopAtTheEnds) {
  const struct {
    double from;
    bool larger;
    double to;
  } rows[] = {{10, true, 11},   {10, false, 9},  {10.5, true, 11}, {10.5, false, 10}, {24, true, 28},
              {72, true, 72},   {72, false, 60}, {6, false, 6},    {6, true, 7},      {100, false, 72},
              {100, true, 100}, {5, false, 5},   {5, true, 6}};
  for (const auto &row : rows) {
    SCOPED_TRACE(::testing::Message() << row.from << (row.larger ? " larger" : " smaller"));
    EXPECT_EQ(zoomedSize(row.from, row.larger), row.to);
  }
}

} // namespace
} // namespace kavrin
