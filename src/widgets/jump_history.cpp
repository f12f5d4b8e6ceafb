#include "widgets/jump_history.h"

#include "widgets/line_marks.h"
#include "widgets/program_editor.h"

#include <QTextBlock>

#include <algorithm>

namespace kavrin {

JumpHistory::JumpHistory(ProgramEditor *editor, QObject *parent)
    : QObject(parent), editor_(editor), lines_(new LineMarks(editor->document(), this)) {
  // Connected after the marks: by then they have followed the change.
  connect(editor->document(), &QTextDocument::contentsChange, this, &JumpHistory::prune);
}

JumpHistory::Place JumpHistory::here() {
  const QTextCursor caret = editor_->textCursor();
  QTextCursor place(editor_->document());
  place.setPosition(caret.position());
  return {place, lines_->mark(caret.blockNumber())};
}

void JumpHistory::remember() {
  // Marks cannot be taken back one by one; now and then the live ones are
  // marked afresh.
  if (lines_->count() > static_cast<int>(4 * kMostPlaces)) {
    std::vector<int> lines;
    for (auto *places : {&backward_, &forward_}) {
      for (Place &place : *places) {
        lines.push_back(lines_->lineOf(place.mark));
      }
    }
    lines_->clear();
    auto line = lines.begin();
    for (auto *places : {&backward_, &forward_}) {
      for (Place &place : *places) {
        place.mark = lines_->mark(*line++);
      }
    }
  }
  backward_.push_back(here());
  if (backward_.size() > kMostPlaces) {
    backward_.pop_front();
  }
  forward_.clear();
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
  const Place target = from.back();
  from.pop_back();
  to.push_back(here());
  // The place's own cursor knows where in the line it stood; should its line
  // have moved under it, the line's start will do.
  const QTextBlock line = editor_->document()->findBlockByNumber(lines_->lineOf(target.mark));
  QTextCursor caret(line);
  if (target.cursor.block() == line) {
    caret.setPosition(target.cursor.position());
  }
  editor_->setTextCursor(caret);
  editor_->ensureCursorVisible();
  emit changed();
}

void JumpHistory::prune() {
  const auto gone = [this](const Place &place) { return lines_->lineOf(place.mark) < 0; };
  std::size_t before = backward_.size() + forward_.size();
  for (auto *places : {&backward_, &forward_}) {
    places->erase(std::remove_if(places->begin(), places->end(), gone), places->end());
  }
  if (backward_.size() + forward_.size() != before) {
    emit changed();
  }
}

} // namespace kavrin
