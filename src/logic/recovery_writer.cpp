#include "logic/recovery_writer.h"

#include "platform/edit_control.h"

namespace kavrin {

RecoveryWriter::RecoveryWriter(const QString &folder, Done done) : store_(folder), done_(std::move(done)) {}

RecoveryWriter::~RecoveryWriter() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) {
    thread_.join();
  }
}

void RecoveryWriter::write(const RecoveryCopy &copy) {
  // Only the (shared, not copied) text is taken here; the rest is the
  // writer's work.
  ask({false, copy});
}

void RecoveryWriter::remove() { ask({true, {}}); }

void RecoveryWriter::ask(Request request) {
  {
    const std::lock_guard lock(mutex_);
    next_ = std::move(request);
    ++asked_;
  }
  // Started at the first request: most starts write no copy at all.
  if (!thread_.joinable()) {
    thread_ = std::thread([this] { run(); });
  }
  wake_.notify_one();
}

QString RecoveryWriter::finish() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return finished_ == asked_; });
  return why_;
}

QString RecoveryWriter::ownFile() const {
  const std::lock_guard lock(mutex_);
  return own_;
}

void RecoveryWriter::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return next_ || stopping_; });
    if (!next_) {
      return; // stopping, with nothing left to do
    }
    Request request = std::move(*next_);
    next_.reset();
    const quint64 taken = asked_;
    lock.unlock();
    const QString why = carryOut(request);
    if (done_) {
      done_(!request.remove, why);
    }
    lock.lock();
    finished_ = taken;
    why_ = why;
    own_ = store_.ownFile();
    idle_.notify_all();
  }
}

QString RecoveryWriter::carryOut(Request &request) {
  if (request.remove) {
    store_.remove();
    return {};
  }
  request.copy.text = withNewlines(std::move(request.copy.text));
  QString why;
  store_.write(request.copy, &why);
  return why;
}

} // namespace kavrin
