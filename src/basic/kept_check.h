#pragma once

#include "logic/pause_schedule.h"
#include "logic/program_check.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace kavrin {
class ProgramEditor;
} // namespace kavrin

namespace kavrin::basic {

// Keeps the program check current once it is started: after each pause in
// typing (and at once when the whole text is replaced) the text is read on
// a thread of its own, and the findings are handed over on the window's
// thread only while the text is still the one read; else they are dropped
// and the next pause reads it again.  A key press only restarts a timer.
class KeptCheck : public QObject {
public:
  using Handler = std::function<void(const std::vector<Finding> &findings)>;

  KeptCheck(ProgramEditor *editor, Handler checked, QObject *parent);
  // Waits for a reading under way; its findings are dropped.
  ~KeptCheck() override;
  KeptCheck(const KeptCheck &) = delete;
  KeptCheck &operator=(const KeptCheck &) = delete;

  // From now on each pause reads the text again; whatever is under way or
  // due for the text until now is dropped.
  void start();
  // The mode's keywords, the rules on and the form (as checkDocument), for
  // the readings from now on.
  void setRules(std::shared_ptr<const KeywordMatcher> keywords, const CheckOptions &options, int sourceStep);
  // A reading is due after the pause (tests drive the timer by this).
  bool due() const { return timer_.isActive(); }
  // Reads the text now on the thread; returns at once.
  void run();
  // Waits for the reading under way and hands its findings over now.
  void finish();

private:
  void changed(int position, int removed, int added);
  void replaced();
  // Reading `id` is over: on the window's thread.
  void collect(quint64 id);
  void stopReading();

  ProgramEditor *editor_;
  Handler checked_;
  PauseSchedule schedule_;
  QTimer timer_;
  bool started_ = false;
  // Edits of the text so far, and the count when the reading took its text.
  quint64 edits_ = 0;
  quint64 read_ = 0;
  // Readings started; only the latest is handed over.
  quint64 runs_ = 0;
  // The timer came while a reading was under way.
  bool again_ = false;
  std::vector<Finding> findings_;
  // Shared with a reading under way, which holds its own reference.
  std::shared_ptr<const KeywordMatcher> keywords_ = std::make_shared<KeywordMatcher>();
  CheckOptions options_;
  int sourceStep_ = 0;
  std::thread reader_;
};

} // namespace kavrin::basic
