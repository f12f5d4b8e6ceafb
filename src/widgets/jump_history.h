#pragma once

#include <QObject>

#include <deque>

namespace kavrin {

class LineMarks;
class ProgramEditor;

// The caret places left by jumps, to go back and forth between, as a web
// browser does with pages.  A place is a mark on its line, which follows
// the line through edits and rewrites, and a column in it; it is dropped
// once its line is deleted.
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
    int mark;
    int column;
  };

  Place here();
  void drop(std::deque<Place> &places, std::size_t from);
  // Drops the places whose line was deleted.
  void prune();
  // Leaves `from` for its last place, keeping the caret's place on `to`.
  void travel(std::deque<Place> &from, std::deque<Place> &to);

  ProgramEditor *editor_;
  LineMarks *lines_;
  std::deque<Place> backward_;
  std::deque<Place> forward_;
};

} // namespace kavrin
