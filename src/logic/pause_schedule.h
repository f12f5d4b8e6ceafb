#pragma once

#include <QtGlobal>

namespace kavrin {

// When work that follows typing is due (the recovery copy, the program
// check kept current): a pause in typing, or the longest wait during
// continuous typing.  Times are milliseconds of one clock.
class PauseSchedule {
public:
  static constexpr qint64 kPauseMs = 2000;
  static constexpr qint64 kLongestMs = 30000;

  void changed(qint64 now);
  // The work was done for every change so far.
  void done() { pending_ = false; }
  // Milliseconds from `now` until the work is due (0 when overdue), after
  // a change.
  qint64 dueIn(qint64 now) const;

private:
  bool pending_ = false;
  qint64 first_ = 0;
  qint64 last_ = 0;
};

} // namespace kavrin
