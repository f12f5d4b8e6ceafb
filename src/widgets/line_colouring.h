#pragma once

#include <QList>
#include <QObject>
#include <QStringView>
#include <QTextLayout>

#include <functional>

class QPlainTextEdit;
class QTextBlock;

namespace kavrin {

// Gives one line its formats, as ranges of the line's characters.
using LineColouring = std::function<void(QStringView line, QList<QTextLayout::FormatRange> &formats)>;
// The same for a line that may be chosen by more than its text.
using BlockColouring = std::function<void(const QTextBlock &block, QList<QTextLayout::FormatRange> &formats)>;

// Colours the lines of a plain-text editor only as they come to be painted,
// so that the cost follows what is on screen, not the length of the text.
// The formats live in the line layouts, outside the document: the text, its
// undo history and its modified flag never see them.
class LineColourer : public QObject {
public:
  explicit LineColourer(QPlainTextEdit *editor);

  bool on() const { return static_cast<bool>(colouring_); }
  // An empty function turns colouring off and takes every format away.
  void setColouring(BlockColouring colouring);
  // Every line gets its formats afresh when next painted.
  void recolour();
  // Gives `block` its formats if its text changed since it last got them;
  // true when it did.
  bool colourIfStale(QTextBlock block);

private:
  void contentsChanged(int position, int removed, int added);
  void clearAll();
  void nextGeneration();

  QPlainTextEdit *editor_;
  BlockColouring colouring_;
  // A line holds in its user state the generation it was coloured in, so
  // that one increment makes every line stale.
  int generation_ = 0;
  bool applying_ = false;
  QMetaObject::Connection changes_;
};

} // namespace kavrin
