#include "logic/pause_schedule.h"

#include <algorithm>

namespace kavrin {

void PauseSchedule::changed(qint64 now) {
  if (!pending_) {
    pending_ = true;
    first_ = now;
  }
  last_ = now;
}

qint64 PauseSchedule::dueIn(qint64 now) const {
  return std::max<qint64>(0, std::min(last_ + kPauseMs, first_ + kLongestMs) - now);
}

} // namespace kavrin
