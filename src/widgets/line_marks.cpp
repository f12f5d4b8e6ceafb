#include "widgets/line_marks.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
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

LineMarks::LineMarks(QTextDocument *document, QObject *parent) : QObject(parent), document_(document) {
  connect(document, &QTextDocument::contentsChange, this, &LineMarks::contentsChanged);
}

LineMarks::~LineMarks() { clear(); }

int LineMarks::mark(int line) {
  const int id = count();
  marks_.emplace_back();
  const QTextBlock block = document_ != nullptr ? document_->findBlockByNumber(line) : QTextBlock();
  if (block.isValid()) {
    seat(id, block);
  } else {
    marks_.back().gone = true;
  }
  return id;
}

int LineMarks::lineOf(int id) const {
  const Mark &mark = marks_[static_cast<size_t>(id)];
  if (mark.gone || document_ == nullptr) {
    return -1;
  }
  return document_->findBlock(mark.start).blockNumber();
}

void LineMarks::clear() {
  for (int id = 0; id < count(); ++id) {
    leaveHolder(id);
  }
  marks_.clear();
}

// The change replaced the `removed` characters at `position` by `added`
// ones.
void LineMarks::contentsChanged(int position, int removed, int added) {
  const int end = position + added;
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
      settle(id, firstRemoved, position, end);
    }
  }
}

void LineMarks::settle(int id, bool firstRemoved, int from, int to) {
  Mark &mark = marks_[static_cast<size_t>(id)];
  if (!firstRemoved) {
    const QTextBlock block = document_->findBlock(mark.start);
    // Mid-line with its block gone, it was joined onto the line above.
    if (mark.holder != nullptr || block.position() == mark.start) {
      hold(id, block);
      mark.empty = block.position() == mark.start && block.length() == 1;
      return;
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
      return;
    }
  }
  leaveHolder(id);
  mark.gone = true;
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
    std::erase(mark.holder->entries, std::pair(this, id));
    mark.holder = nullptr;
  }
}

} // namespace kavrin
