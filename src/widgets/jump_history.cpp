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
  // Marks cannot be taken back one by one; now and then the live places are
  // marked afresh.
  if (lines_->count() > static_cast<int>(4 * kMostPlaces)) {
    reseat(spots(), [](int line) { return line; });
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

void JumpHistory::reseat(const std::vector<Spot> &spots, const std::function<int(int)> &newLine) {
  lines_->clear();
  auto spot = spots.begin();
  for (auto *places : {&backward_, &forward_}) {
    std::deque<Place> kept;
    for (Place &place : *places) {
      const Spot at = *spot++;
      const QTextBlock block = editor_->document()->findBlockByNumber(at.line < 0 ? -1 : newLine(at.line));
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

void JumpHistory::followRewrite(const std::vector<int> &newLineOf, const std::function<void()> &edit) {
  const std::vector<Spot> before = spots();
  rewriting_ = true;
  try {
    edit();
  } catch (...) {
    rewriting_ = false;
    throw;
  }
  rewriting_ = false;
  // Beyond the map is only the empty line after a final line break, which
  // stays last.
  const int last = editor_->blockCount() - 1;
  reseat(before, [&newLineOf, last](int line) {
    return line < static_cast<int>(newLineOf.size()) ? newLineOf[static_cast<std::size_t>(line)] : last;
  });
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
  if (rewriting_) {
    return;
  }
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
