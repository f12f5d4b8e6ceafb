#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class QTextBlock;
class QTextDocument;

namespace kavrin {

class BlockMarks;
class DocumentLines;

// Marks on lines of a document that stay with their line while the text
// above it and in it is edited, and know when their line is deleted.
//
// A line goes where its first character goes: a line break typed or
// pasted at its start moves it down, and the line above it joined to it
// while empty leaves it alone.  When that character is deleted (the line
// number retyped) the line's block tells: the line lives on while the block
// does.  A line joined onto the end of the line above is gone, and so is an
// empty line whose break is deleted.
//
// Each change costs a pass over the marks' positions: thousands of marks
// cost microseconds, where a QTextCursor for each would cost milliseconds a
// key.
//
// The marks live in the blocks' user data, which this unit owns; several
// LineMarks may mark the same document and the same lines.
class LineMarks : public QObject {
  Q_OBJECT

public:
  LineMarks(QTextDocument *document, QObject *parent);
  ~LineMarks() override;
  LineMarks(const LineMarks &) = delete;
  LineMarks &operator=(const LineMarks &) = delete;

  // Marks the line with block number `line`, handing its block to `found`
  // if given; marks are numbered from 0, a number let go of given again.
  int mark(int line, QTextBlock *found = nullptr);
  // Lets go of the mark: its line no longer counts it.
  void unmark(int id);
  // The mark's line now, or -1 when the line was deleted.
  int lineOf(int id) const;
  // Where the mark's line starts now (a position in its block, in the
  // order of the lines), or -1 when the line was deleted: cheaper than
  // lineOf for ordering many marks.
  int positionOf(int id) const;
  int count() const { return static_cast<int>(marks_.size()); }
  // Whether a mark of this LineMarks is on the block's line: a look at the
  // block alone, cheap enough for each line painted.
  bool marks(const QTextBlock &block) const;
  void clear();

  // Runs `edit`, which rewrites the document's text so that line i becomes
  // line `newLineOf[i]` (-1: gone; beyond the map is only the empty line
  // after a final line break, which stays last), as one undo step.  The
  // marks on the document follow their lines through it, its undo and its
  // redo, where an edit replacing the text would lose them.  An edit that
  // leaves the text as it was is no step: call it without this.
  static void followRewrite(QTextDocument *document, const std::vector<int> &newLineOf,
                            const std::function<void()> &edit);

signals:
  // A rewrite, its undo or its redo has put every mark on its line.
  void rewriteFollowed();
  // The lines of some marks were deleted.
  void linesDeleted();

private:
  friend class BlockMarks;
  friend class DocumentLines;

  struct Mark {
    // Where the line's first character is.
    int start = 0;
    // The user data of the line's block; null once that block is gone.
    BlockMarks *holder = nullptr;
    // This mark's place among the holder's entries.
    std::size_t slot = 0;
    // Text typed on an empty line starts it.
    bool empty = false;
    bool gone = false;
  };

  void contentsChanged(int position, int removed, int added);
  // Notes each mark's line before a rewrite ...
  void noteLines();
  // ... and puts it on the line the rewrite made of it.
  void moveLines(const std::vector<int> &newLineOf);
  // False when the mark's line went.
  bool settle(int id, bool firstRemoved, int from, int to);
  // Puts the mark in the block's user data.
  void hold(int id, QTextBlock block);
  // Holds the mark there with the block's start as the line's.
  void seat(int id, const QTextBlock &block);
  void leaveHolder(int id);
  void holderGone(int id) { marks_[static_cast<size_t>(id)].holder = nullptr; }

  QPointer<QTextDocument> document_;
  QPointer<DocumentLines> lines_;
  std::vector<Mark> marks_;
  // Marks let go of, to be given again.
  std::vector<int> free_;
  std::vector<int> linesBefore_;
};

} // namespace kavrin
