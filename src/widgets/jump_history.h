#pragma once

#include <QObject>
#include <QTextCursor>

#include <deque>
#include <functional>
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
  // Runs `edit`, which rewrites the text so that line i becomes line
  // `newLineOf[i]` (-1: gone), as renumber, sort and moving lines do; the
  // places follow their lines through it instead of being dropped with the
  // text replaced.
  void followRewrite(const std::vector<int> &newLineOf, const std::function<void()> &edit);

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
  // Marks every place afresh at `newLine` of its spot's line; a place given
  // -1 is dropped.
  void reseat(const std::vector<Spot> &spots, const std::function<int(int)> &newLine);
  Place here();
  // Drops the places whose line was deleted.
  void prune();
  // Leaves `from` for its last place, keeping the caret's place on `to`.
  void travel(std::deque<Place> &from, std::deque<Place> &to);

  ProgramEditor *editor_;
  LineMarks *lines_;
  std::deque<Place> backward_;
  std::deque<Place> forward_;
  bool rewriting_ = false;
};

} // namespace kavrin
