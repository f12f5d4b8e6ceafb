#pragma once

#include <QObject>
#include <QTextCursor>

#include <deque>
#include <vector>

namespace kavrin {

class LineMarks;
class ProgramEditor;

// The caret places left by jumps, to go back and forth between, as a web
// browser does with pages.  A place stays on its text through edits and is
// dropped once its line is deleted.
class JumpHistory : public QObject {
  Q_OBJECT

public:
  static constexpr std::size_t kMostPlaces = 100;

  JumpHistory(ProgramEditor *editor, QObject *parent);

  // Keeps the caret's place before a jump; the places gone back from are
  // dropped.
  void remember();
  bool canGoBack() const;
  bool canGoForward() const;
  void back();
  void forward();

signals:
  // Whether there is somewhere to go back or forward to may have changed.
  void changed();

private:
  struct Place {
    QTextCursor cursor;
    int mark = -1;
  };

  // Where a place is: its line, -1 once deleted, and its column there.
  struct Spot {
    int line;
    int column;
  };
  std::vector<Spot> spots() const;
  // After a rewrite of the text (or its undo or redo) has put the marks on
  // their lines, puts each place at its column there.
  void followRewrite();
  // Marks every place afresh on its spot's line; a place whose line is gone
  // is dropped.
  void reseat(const std::vector<Spot> &spots);
  Place here();
  // Drops the places whose line was deleted.
  void prune();
  // Leaves `from` for its last place, keeping the caret's place on `to`.
  void travel(std::deque<Place> &from, std::deque<Place> &to);

  ProgramEditor *editor_;
  LineMarks *lines_;
  std::deque<Place> backward_;
  std::deque<Place> forward_;
  // Places dropped while the text changed, until the change is over.
  std::vector<Place> dropped_;
  // The places' spots before a rewrite.
  std::vector<Spot> before_;
};

} // namespace kavrin
