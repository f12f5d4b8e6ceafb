#include "widgets/line_colouring.h"

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <limits>

namespace kavrin {
namespace {

// A line's user state when it never got formats (Qt's default), and when it
// got some but its text changed since.
constexpr int kNever = -1;
constexpr int kChanged = -2;
// A change over more lines than this (a file loaded, a large paste) makes
// every line stale at once instead of walking them.
constexpr int kMostMarked = 64;

} // namespace

LineColourer::LineColourer(QPlainTextEdit *editor) : QObject(editor), editor_(editor) {}

void LineColourer::setColouring(BlockColouring colouring) {
  const bool wasOn = on();
  colouring_ = std::move(colouring);
  if (on() && !wasOn) {
    changes_ =
        connect(editor_->document(), &QTextDocument::contentsChange, this, &LineColourer::contentsChanged);
  } else if (!on() && wasOn) {
    disconnect(changes_);
    clearAll();
  }
  recolour();
}

void LineColourer::recolour() {
  if (on()) {
    nextGeneration();
  }
  editor_->viewport()->update();
}

void LineColourer::nextGeneration() {
  generation_ = generation_ == std::numeric_limits<int>::max() ? 0 : generation_ + 1;
}

bool LineColourer::colourIfStale(QTextBlock block) {
  if (!on() || !block.isValid() || block.userState() == generation_) {
    return false;
  }
  QList<QTextLayout::FormatRange> formats;
  colouring_(block, formats);
  const bool had = block.userState() != kNever;
  block.setUserState(generation_);
  if (formats.isEmpty() && !had) {
    return false;
  }
  block.layout()->setFormats(formats);
  // Relayouts the line as QSyntaxHighlighter does.  This runs just before a
  // paint, so the layout's own repaint request would only paint twice.
  const QSignalBlocker quiet(editor_->document()->documentLayout());
  applying_ = true;
  editor_->document()->markContentsDirty(block.position(), block.length());
  applying_ = false;
  return true;
}

void LineColourer::contentsChanged(int position, int /*removed*/, int added) {
  if (applying_) {
    return;
  }
  const QTextDocument *doc = editor_->document();
  const QTextBlock first = doc->findBlock(position);
  const QTextBlock last = doc->findBlock(std::min(position + added, doc->characterCount() - 1));
  if (!first.isValid() || !last.isValid() || last.blockNumber() - first.blockNumber() > kMostMarked) {
    nextGeneration();
    return;
  }
  for (QTextBlock block = first; block.isValid(); block = block.next()) {
    if (block.userState() != kNever) {
      block.setUserState(kChanged);
    }
    if (block == last) {
      break;
    }
  }
}

void LineColourer::clearAll() {
  QTextDocument *doc = editor_->document();
  int from = -1;
  int to = 0;
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
    if (block.userState() == kNever) {
      continue;
    }
    block.setUserState(kNever);
    block.layout()->clearFormats();
    from = from < 0 ? block.position() : from;
    to = block.position() + block.length();
  }
  if (from >= 0) {
    doc->markContentsDirty(from, to - from);
  }
}

} // namespace kavrin
