#pragma once

namespace kavrin {

// The size in points that the editor's text shows one zoom step larger or
// smaller than `points`.  The steps are sizes from the smallest that stays
// readable to the largest; a size between two steps goes to the next one, and
// a size at or past the end of the steps that way stays as it is.
double zoomedSize(double points, bool larger);

} // namespace kavrin
