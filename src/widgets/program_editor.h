#pragma once

#include "platform/colors.h"
#include "platform/edit_control.h"
#include "widgets/line_colouring.h"

#include <QPlainTextEdit>
#include <QStringList>

class QSyntaxHighlighter;

namespace kavrin {

// The document editor: a plain-text editor with the access that the editing
// commands need.  Positions count the editor's characters from 0, each line
// break being one position; selection and text always agree on them.
class ProgramEditor : public QPlainTextEdit, public EditControl {
  Q_OBJECT

public:
  explicit ProgramEditor(QWidget *parent = nullptr);
  ~ProgramEditor() override;

  // Replaces the whole text; '\n' separates lines.  Clears the undo history.
  void setText(const QString &text);
  // The whole text with '\n' line breaks.
  QString text() const;
  // The whole text with each line break as U+2029, as the document holds it.
  QString rawText() const;

  int textLength() const override;
  // The character at `pos`; a line break reads as '\n', outside the text 0.
  QChar charAt(int pos) const override;

  int lineStart(int pos) const override;
  int selStart() const override;
  int selLength() const override;
  // Leaves an empty selection at `pos`.
  void setSelStart(int pos) override;
  // Selects `length` characters from the selection start.
  void setSelLength(int length) override;
  QString selText() const;
  // Replaces the selection; the caret ends after the inserted text.
  void setSelText(const QString &text) override;

  // Puts the caret at the start of line `line` (0-based) in view; with
  // `wholeLine` the line is selected, without its line break.
  void selectLine(int line, bool wholeLine);

  // Background and text colours in their stored form, which may name a
  // system colour.
  TColor color() const { return color_; }
  void setColor(TColor color);
  TColor fontColor() const { return fontColor_; }
  void setFontColor(TColor color);

  // The font as chosen, the one the settings keep; the text may show it
  // zoomed.
  const QFont &chosenFont() const { return chosenFont_; }
  // Shows `font` at its own size: a font chosen ends any zoom.
  void setChosenFont(const QFont &font);
  // Shows the text a step larger or smaller, as long as the editor lives;
  // the chosen font stays as it is.
  void zoom(bool larger);
  // Shows the chosen size again.
  void resetZoom() { setFont(chosenFont_); }

  bool modified() const;
  void setModified(bool modified);

  // Whether undecodable bytes are being marked in the text.
  bool marksPlaceholders() const { return highlighter_ != nullptr || colourer_->on(); }

  // Colours each line as it comes on screen; an empty function turns the
  // colours off.  Undecodable bytes stay marked over the colours.
  void setLineColouring(LineColouring colouring);
  bool colouring() const { return static_cast<bool>(keywords_); }
  // Marks chosen lines over their colours, if any, as they come on screen;
  // an empty function takes the marks away.
  void setLineMarking(BlockColouring marking);
  // Colours every line afresh, as after the colouring function's rules
  // changed.
  void recolour() { colourer_->recolour(); }

signals:
  // Local files dropped on the editor, in the order of the drop.
  void filesDropped(const QStringList &paths);
  // setText replaced the whole text; the document reports no change of
  // its modified flag then.
  void textReplaced();
  // The background colour was set.
  void colorChanged();

protected:
  void paintEvent(QPaintEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  // Ctrl with the wheel zooms.
  void wheelEvent(QWheelEvent *event) override;
  void dragEnterEvent(QDragEnterEvent *event) override;
  void dragMoveEvent(QDragMoveEvent *event) override;
  void dropEvent(QDropEvent *event) override;
  void insertFromMimeData(const QMimeData *source) override;

private:
  void markPlaceholdersIn(QStringView text);
  // Gives the colourer the colours and marks there are, or turns it off.
  void applyColouring();
  // Sets one colour of every group; system colours resolve through the
  // application's palette.
  void applyColor(QPalette::ColorRole role, TColor color);
  // Colours the stale lines on screen before `painted` is painted.
  void colourVisibleLines(const QRegion &painted);

  QSyntaxHighlighter *highlighter_ = nullptr;
  LineColourer *colourer_;
  LineColouring keywords_;
  BlockColouring marking_;
  TColor color_ = clWindow;
  TColor fontColor_ = clWindowText;
  QFont chosenFont_;
  // The part of a wheel's turn with Ctrl that has not made a step yet.
  int zoomTurn_ = 0;
};

// The local files among the URLs of a drag, in order.
QStringList localFiles(const QMimeData *mime);

} // namespace kavrin
