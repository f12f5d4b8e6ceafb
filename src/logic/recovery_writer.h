#pragma once

#include "logic/recovery.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace kavrin {

// Keeps this editor's recovery copy from a thread of its own, so that
// building the copy, its checksum and the disk never hold up typing.
// Requests are carried out in the order given; a write still waiting gives
// way to a newer request.
class RecoveryWriter {
public:
  // Told on the writer's thread after each request: whether it was a write,
  // and why it failed (empty when it was carried out).
  using Done = std::function<void(bool wrote, const QString &why)>;

  RecoveryWriter(const QString &folder, Done done);
  // Carries out what was asked; a copy written stays.
  ~RecoveryWriter();
  RecoveryWriter(const RecoveryWriter &) = delete;
  RecoveryWriter &operator=(const RecoveryWriter &) = delete;

  // The copy's text as the editor holds it, line breaks as U+2029 or '\n'.
  void write(const RecoveryCopy &copy);
  void remove();
  // Waits until everything asked so far is done; empty when the last
  // request was carried out, else why not.
  QString finish();
  // The file of this editor's copy, once one was written.
  QString ownFile() const;

private:
  struct Request {
    bool remove = false;
    RecoveryCopy copy;
  };

  void ask(Request request);
  void run();
  QString carryOut(Request &request);

  RecoveryStore store_;
  Done done_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::optional<Request> next_;
  quint64 asked_ = 0;
  quint64 finished_ = 0;
  QString why_;
  QString own_;
  bool stopping_ = false;
  std::thread thread_;
};

} // namespace kavrin
