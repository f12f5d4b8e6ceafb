#include "widgets/line_marks.h"

#include <QAbstractUndoItem>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <optional>
#include <utility>

namespace kavrin {

// The marks on one block; its destruction is the block's deletion.
class BlockMarks : public QTextBlockUserData {
public:
  ~BlockMarks() override {
    for (const auto &[owner, id] : entries) {
      owner->holderGone(id);
    }
  }

  std::vector<std::pair<LineMarks *, int>> entries;
};

// The LineMarks on one document, told of each change to its text: an
// ordinary edit, or a rewrite whose lines go where a map says.
class DocumentLines : public QObject {
public:
  static DocumentLines *of(QTextDocument *document) {
    auto *found =
        dynamic_cast<DocumentLines *>(document->findChild<QObject *>(kName, Qt::FindDirectChildrenOnly));
    return found != nullptr ? found : new DocumentLines(document);
  }

  // The next change rewrites the text by `newLineOf`.
  void arm(const std::vector<int> &newLineOf) {
    each([](LineMarks *marks) { marks->noteLines(); });
    armed_ = newLineOf;
  }
  void disarm() { armed_.reset(); }
  void add(LineMarks *marks) { marks_.push_back(marks); }
  void remove(LineMarks *marks) { std::erase(marks_, marks); }

private:
  static constexpr QLatin1StringView kName{"kavrin-line-marks"};

  explicit DocumentLines(QTextDocument *document) : QObject(document) {
    setObjectName(kName);
    connect(document, &QTextDocument::contentsChange, this, &DocumentLines::changed);
  }

  void changed(int position, int removed, int added) {
    const std::optional<std::vector<int>> rewrite = std::exchange(armed_, std::nullopt);
    each([&](LineMarks *marks) {
      if (rewrite) {
        marks->moveLines(*rewrite);
      } else {
        marks->contentsChanged(position, removed, added);
      }
    });
  }

  // Calls `tell` for each LineMarks, skipping those that an earlier call
  // (through the signals it emitted) deleted.
  template <typename Tell> void each(const Tell &tell) {
    for (LineMarks *marks : std::vector(marks_)) {
      if (std::find(marks_.begin(), marks_.end(), marks) != marks_.end()) {
        tell(marks);
      }
    }
  }

  std::vector<LineMarks *> marks_;
  std::optional<std::vector<int>> armed_;
};

namespace {

// The undo stack's note of a rewrite: the first of its step tells the
// marks of its redo, the last of its undo; each comes before the text
// changes.
class RewriteStep : public QAbstractUndoItem {
public:
  RewriteStep(DocumentLines *lines, std::vector<int> newLineOf, bool onUndo)
      : lines_(lines), newLineOf_(std::move(newLineOf)), onUndo_(onUndo) {}

  void undo() override { follow(onUndo_); }
  void redo() override { follow(!onUndo_); }

private:
  void follow(bool now) {
    if (now && lines_ != nullptr) {
      lines_->arm(newLineOf_);
    }
  }

  QPointer<DocumentLines> lines_;
  std::vector<int> newLineOf_;
  bool onUndo_;
};

// Where the rewrite's lines came from; beyond the lines it made, only the
// empty line after a final line break.
std::vector<int> oldLineOf(const std::vector<int> &newLineOf) {
  std::vector<int> out;
  for (std::size_t line = 0; line < newLineOf.size(); ++line) {
    const int to = newLineOf[line];
    if (to >= 0) {
      out.resize(std::max(out.size(), static_cast<std::size_t>(to) + 1), -1);
      out[static_cast<std::size_t>(to)] = static_cast<int>(line);
    }
  }
  return out;
}

} // namespace

LineMarks::LineMarks(QTextDocument *document, QObject *parent)
    : QObject(parent), document_(document), lines_(DocumentLines::of(document)) {
  lines_->add(this);
}

LineMarks::~LineMarks() {
  clear();
  if (lines_ != nullptr) {
    lines_->remove(this);
  }
}

void LineMarks::followRewrite(QTextDocument *document, const std::vector<int> &newLineOf,
                              const std::function<void()> &edit) {
  DocumentLines *lines = DocumentLines::of(document);
  QTextCursor step(document);
  step.beginEditBlock();
  document->appendUndoItem(new RewriteStep(lines, newLineOf, false));
  lines->arm(newLineOf);
  try {
    edit();
  } catch (...) {
    lines->disarm();
    step.endEditBlock();
    throw;
  }
  document->appendUndoItem(new RewriteStep(lines, oldLineOf(newLineOf), true));
  step.endEditBlock();
  // An edit that changed nothing leaves the marks where they were.
  lines->disarm();
}

int LineMarks::mark(int line, QTextBlock *found) {
  int id = count();
  if (free_.empty()) {
    marks_.emplace_back();
  } else {
    id = free_.back();
    free_.pop_back();
    marks_[static_cast<size_t>(id)] = {};
  }
  const QTextBlock block = document_ != nullptr ? document_->findBlockByNumber(line) : QTextBlock();
  if (found != nullptr) {
    *found = block;
  }
  if (block.isValid()) {
    seat(id, block);
  } else {
    marks_[static_cast<size_t>(id)].gone = true;
  }
  return id;
}

void LineMarks::unmark(int id) {
  leaveHolder(id);
  marks_[static_cast<size_t>(id)].gone = true;
  free_.push_back(id);
}

int LineMarks::lineOf(int id) const {
  const Mark &mark = marks_[static_cast<size_t>(id)];
  if (mark.gone || document_ == nullptr) {
    return -1;
  }
  return document_->findBlock(mark.start).blockNumber();
}

int LineMarks::positionOf(int id) const {
  const Mark &mark = marks_[static_cast<size_t>(id)];
  return mark.gone || document_ == nullptr ? -1 : mark.start;
}

bool LineMarks::marks(const QTextBlock &block) const {
  const auto *holder = dynamic_cast<const BlockMarks *>(block.userData());
  return holder != nullptr && std::any_of(holder->entries.begin(), holder->entries.end(),
                                          [this](const auto &entry) { return entry.first == this; });
}

void LineMarks::clear() {
  for (int id = 0; id < count(); ++id) {
    leaveHolder(id);
  }
  marks_.clear();
  free_.clear();
}

void LineMarks::noteLines() {
  linesBefore_.clear();
  for (int id = 0; id < count(); ++id) {
    linesBefore_.push_back(lineOf(id));
  }
}

void LineMarks::moveLines(const std::vector<int> &newLineOf) {
  const int last = document_->blockCount() - 1;
  bool deleted = false;
  for (int id = 0; id < count() && id < static_cast<int>(linesBefore_.size()); ++id) {
    const int line = linesBefore_[static_cast<std::size_t>(id)];
    int to = -1;
    if (line >= 0) {
      to = line < static_cast<int>(newLineOf.size()) ? newLineOf[static_cast<std::size_t>(line)] : last;
    }
    leaveHolder(id);
    Mark &mark = marks_[static_cast<size_t>(id)];
    mark.gone = to < 0 || to > last;
    deleted = deleted || (line >= 0 && mark.gone);
    if (!mark.gone) {
      seat(id, document_->findBlockByNumber(to));
    }
  }
  emit rewriteFollowed();
  if (deleted) {
    emit linesDeleted();
  }
}

// The change replaced the `removed` characters at `position` by `added`
// ones.
void LineMarks::contentsChanged(int position, int removed, int added) {
  const int end = position + added;
  bool deleted = false;
  for (int id = 0; id < count(); ++id) {
    Mark &mark = marks_[static_cast<size_t>(id)];
    if (mark.gone) {
      continue;
    }
    bool firstRemoved = false;
    if (mark.start >= position + removed && (mark.start > position || !mark.empty)) {
      mark.start += added - removed;
    } else if (mark.start >= position && removed > 0) {
      firstRemoved = true;
    }
    // A line whose block stands and whose start lies outside the change
    // is where it was.
    if (mark.holder == nullptr || firstRemoved || (mark.start >= position && mark.start <= end)) {
      deleted = !settle(id, firstRemoved, position, end) || deleted;
    }
  }
  if (deleted) {
    emit linesDeleted();
  }
}

bool LineMarks::settle(int id, bool firstRemoved, int from, int to) {
  Mark &mark = marks_[static_cast<size_t>(id)];
  if (!firstRemoved) {
    const QTextBlock block = document_->findBlock(mark.start);
    // Mid-line with its block gone, it was joined onto the line above.
    if (mark.holder != nullptr || block.position() == mark.start) {
      hold(id, block);
      mark.empty = block.position() == mark.start && block.length() == 1;
      return true;
    }
  } else if (mark.holder != nullptr) {
    // The block tells where a line is whose first character was deleted
    // (or only given a format); an empty line whose break went is gone.
    QTextBlock block = document_->findBlock(from);
    while (block.isValid() && block.position() <= to && block.userData() != mark.holder) {
      block = block.next();
    }
    if (block.isValid() && block.userData() == mark.holder && (!mark.empty || block.length() == 1)) {
      seat(id, block);
      return true;
    }
  }
  leaveHolder(id);
  mark.gone = true;
  return false;
}

void LineMarks::hold(int id, QTextBlock block) {
  Mark &mark = marks_[static_cast<size_t>(id)];
  auto *holder = dynamic_cast<BlockMarks *>(block.userData());
  if (holder == nullptr) {
    holder = new BlockMarks;
    block.setUserData(holder);
  }
  if (holder != mark.holder) {
    leaveHolder(id);
    holder->entries.emplace_back(this, id);
    mark.holder = holder;
    mark.slot = holder->entries.size() - 1;
  }
}

void LineMarks::seat(int id, const QTextBlock &block) {
  hold(id, block);
  Mark &mark = marks_[static_cast<size_t>(id)];
  mark.start = block.position();
  mark.empty = block.length() == 1;
}

void LineMarks::leaveHolder(int id) {
  Mark &mark = marks_[static_cast<size_t>(id)];
  if (mark.holder != nullptr) {
    // The last entry takes the place of this one: thousands of marks on one
    // line leave it in linear time.
    auto &entries = mark.holder->entries;
    const auto moved = entries.back();
    entries[mark.slot] = moved;
    entries.pop_back();
    if (mark.slot < entries.size()) {
      moved.first->marks_[static_cast<size_t>(moved.second)].slot = mark.slot;
    }
    mark.holder = nullptr;
  }
}

} // namespace kavrin
