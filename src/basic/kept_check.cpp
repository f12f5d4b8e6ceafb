#include "basic/kept_check.h"

#include "logic/source_form.h"
#include "widgets/program_editor.h"

#include <QDateTime>
#include <QTextDocument>

#include <utility>

namespace kavrin::basic {

KeptCheck::KeptCheck(ProgramEditor *editor, Handler checked, QObject *parent)
    : QObject(parent), editor_(editor), checked_(std::move(checked)) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &KeptCheck::run);
}

KeptCheck::~KeptCheck() { stopReading(); }

void KeptCheck::start() {
  stopReading();
  timer_.stop();
  schedule_.done();
  again_ = false;
  if (!started_) {
    started_ = true;
    connect(editor_->document(), &QTextDocument::contentsChange, this, &KeptCheck::changed);
    connect(editor_, &ProgramEditor::textReplaced, this, &KeptCheck::replaced);
  }
}

void KeptCheck::setRules(std::shared_ptr<const KeywordMatcher> keywords, const CheckOptions &options,
                         int sourceStep) {
  keywords_ = std::move(keywords);
  options_ = options;
  sourceStep_ = sourceStep;
  ++edits_; // a reading under way by the old rules is dropped
}

void KeptCheck::changed(int /*position*/, int removed, int added) {
  if (removed == 0 && added == 0) {
    return; // a line laid out again, not a change of its text
  }
  ++edits_;
  const qint64 now = QDateTime::currentMSecsSinceEpoch();
  schedule_.changed(now);
  timer_.start(static_cast<int>(schedule_.dueIn(now)));
}

void KeptCheck::replaced() {
  // A file opened or a new document: no typing to wait for.
  timer_.start(0);
}

void KeptCheck::run() {
  timer_.stop();
  if (reader_.joinable()) {
    again_ = true;
    return;
  }
  schedule_.done();
  read_ = edits_;
  const quint64 id = ++runs_;
  reader_ = std::thread(
      [this, id, text = editor_->text(), keywords = keywords_, options = options_, step = sourceStep_] {
        findings_ = checkDocument(text, *keywords, options, step);
        QMetaObject::invokeMethod(
            this, [this, id] { collect(id); }, Qt::QueuedConnection);
      });
}

void KeptCheck::finish() { collect(runs_); }

void KeptCheck::collect(quint64 id) {
  if (id != runs_ || !reader_.joinable()) {
    return; // handed over already, or dropped
  }
  reader_.join();
  const std::vector<Finding> findings = std::exchange(findings_, {});
  if (read_ == edits_) {
    checked_(findings);
  }
  if (std::exchange(again_, false)) {
    run();
  }
}

void KeptCheck::stopReading() {
  if (reader_.joinable()) {
    reader_.join();
  }
  findings_.clear();
}

} // namespace kavrin::basic
