#include "widgets/jump_history.h"

#include "widgets/line_marks.h"
#include "widgets/program_editor.h"

#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

namespace kavrin {

JumpHistory::JumpHistory(ProgramEditor *editor, QObject *parent)
    : QObject(parent), editor_(editor), lines_(new LineMarks(editor->document(), this)) {
  connect(lines_, &LineMarks::linesDeleted, this, &JumpHistory::prune);
}

JumpHistory::Place JumpHistory::here() {
  const QTextCursor caret = editor_->textCursor();
  return {lines_->mark(caret.blockNumber()), caret.positionInBlock()};
}

void JumpHistory::drop(std::deque<Place> &places, std::size_t from) {
  for (std::size_t i = from; i < places.size(); ++i) {
    lines_->unmark(places[i].mark);
  }
  places.resize(std::min(from, places.size()));
}

void JumpHistory::remember() {
  backward_.push_back(here());
  if (backward_.size() > kMostPlaces) {
    lines_->unmark(backward_.front().mark);
    backward_.pop_front();
  }
  drop(forward_, 0);
  emit changed();
}

bool JumpHistory::canGoBack() const { return !backward_.empty(); }

bool JumpHistory::canGoForward() const { return !forward_.empty(); }

void JumpHistory::back() { travel(backward_, forward_); }

void JumpHistory::forward() { travel(forward_, backward_); }

void JumpHistory::travel(std::deque<Place> &from, std::deque<Place> &to) {
  if (from.empty()) {
    return;
  }
  // A place whose line is gone is passed over, should prune not have run yet.
  Place target{};
  int lineNumber = -1;
  while (lineNumber < 0 && !from.empty()) {
    target = from.back();
    from.pop_back();
    lineNumber = lines_->lineOf(target.mark);
    lines_->unmark(target.mark);
  }
  if (lineNumber < 0) {
    emit changed();
    return;
  }
  const QTextBlock line = editor_->document()->findBlockByNumber(lineNumber);
  to.push_back(here());
  QTextCursor caret(editor_->document());
  caret.setPosition(line.position() + std::min(target.column, line.length() - 1));
  editor_->setTextCursor(caret); // which scrolls to it
  emit changed();
}

void JumpHistory::prune() {
  for (auto *places : {&backward_, &forward_}) {
    const auto kept = std::stable_partition(places->begin(), places->end(), [this](const Place &place) {
      return lines_->positionOf(place.mark) >= 0;
    });
    drop(*places, static_cast<std::size_t>(kept - places->begin()));
  }
  emit changed();
}

} // namespace kavrin
