#include "widgets/jump_history.h"

#include "widgets/line_marks.h"
#include "widgets/program_editor.h"

#include <QTextBlock>

#include <algorithm>
#include <iterator>

namespace kavrin {

JumpHistory::JumpHistory(ProgramEditor *editor, QObject *parent)
    : QObject(parent), editor_(editor), lines_(new LineMarks(editor->document(), this)) {
  connect(lines_, &LineMarks::rewriteStarting, this, [this] { before_ = spots(); });
  connect(lines_, &LineMarks::rewriteFollowed, this, &JumpHistory::followRewrite);
  // Connected after the marks: by then they have followed the change.
  connect(editor->document(), &QTextDocument::contentsChange, this, &JumpHistory::prune);
}

JumpHistory::Place JumpHistory::here() {
  // Marks cannot be taken back one by one; now and then the live places are
  // marked afresh.
  if (lines_->count() > static_cast<int>(4 * kMostPlaces)) {
    reseat(spots());
  }
  const QTextCursor caret = editor_->textCursor();
  QTextCursor place(editor_->document());
  place.setPosition(caret.position());
  return {place, lines_->mark(caret.blockNumber())};
}

void JumpHistory::remember() {
  backward_.push_back(here());
  if (backward_.size() > kMostPlaces) {
    backward_.pop_front();
  }
  forward_.clear();
  emit changed();
}

std::vector<JumpHistory::Spot> JumpHistory::spots() const {
  std::vector<Spot> out;
  for (const auto *places : {&backward_, &forward_}) {
    for (const Place &place : *places) {
      const int line = lines_->lineOf(place.mark);
      out.push_back({line, place.cursor.blockNumber() == line ? place.cursor.positionInBlock() : 0});
    }
  }
  return out;
}

void JumpHistory::reseat(const std::vector<Spot> &spots) {
  lines_->clear();
  auto spot = spots.begin();
  for (auto *places : {&backward_, &forward_}) {
    std::deque<Place> kept;
    for (Place &place : *places) {
      const Spot at = *spot++;
      const QTextBlock block = editor_->document()->findBlockByNumber(at.line);
      if (!block.isValid()) {
        continue;
      }
      place.cursor.setPosition(block.position() + std::min(at.column, block.length() - 1));
      place.mark = lines_->mark(block.blockNumber());
      kept.push_back(place);
    }
    places->swap(kept);
  }
}

void JumpHistory::followRewrite() {
  auto spot = before_.begin();
  for (auto *places : {&backward_, &forward_}) {
    for (Place &place : *places) {
      if (spot == before_.end()) {
        return;
      }
      const int column = (spot++)->column;
      const QTextBlock block = editor_->document()->findBlockByNumber(lines_->lineOf(place.mark));
      if (block.isValid()) {
        place.cursor.setPosition(block.position() + std::min(column, block.length() - 1));
      }
    }
  }
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
  // The place's own cursor knows where in the line it stood; should its line
  // have moved under it, the line's start will do.  Read before here(),
  // which may mark the places afresh.
  const QTextBlock line = editor_->document()->findBlockByNumber(lines_->lineOf(target.mark));
  const int position = target.cursor.block() == line ? target.cursor.position() : line.position();
  to.push_back(here());
  QTextCursor caret(editor_->document());
  caret.setPosition(position);
  editor_->setTextCursor(caret);
  editor_->ensureCursorVisible();
  emit changed();
}

void JumpHistory::prune() {
  const auto kept = [this](const Place &place) { return lines_->lineOf(place.mark) >= 0; };
  const std::size_t before = dropped_.size();
  for (auto *places : {&backward_, &forward_}) {
    const auto end = std::stable_partition(places->begin(), places->end(), kept);
    std::move(end, places->end(), std::back_inserter(dropped_));
    places->erase(end, places->end());
  }
  if (dropped_.size() != before) {
    // A new text empties the document's list of cursors and puts it back
    // after this signal: a cursor let go now would be left in it, freed.
    // The dropped places' cursors go once the change is over.
    QMetaObject::invokeMethod(
        this, [this] { dropped_.clear(); }, Qt::QueuedConnection);
    emit changed();
  }
}

} // namespace kavrin
