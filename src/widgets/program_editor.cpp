#include "widgets/program_editor.h"

#include "logic/text_zoom.h"
#include "platform/cp932.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QWheelEvent>

namespace kavrin {
namespace {

// Placeholders of undecodable bytes stand out even where the font draws
// nothing for their private-use characters.
QTextCharFormat placeholderFormat() {
  QTextCharFormat format;
  format.setBackground(QColor(0xFF, 0xC0, 0xC0));
  format.setForeground(QColor(0xA0, 0x00, 0x00));
  return format;
}

class PlaceholderHighlighter : public QSyntaxHighlighter {
public:
  explicit PlaceholderHighlighter(QTextDocument *doc) : QSyntaxHighlighter(doc) {}

protected:
  void highlightBlock(const QString &text) override {
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (cp932::isReserved(text[i].unicode())) {
        setFormat(static_cast<int>(i), 1, format_);
      }
    }
  }

private:
  QTextCharFormat format_ = placeholderFormat();
};

// The colours and marks with the placeholders marked over them.
BlockColouring composed(const LineColouring &keywords, const BlockColouring &marking) {
  return [keywords, marking, format = placeholderFormat()](const QTextBlock &block,
                                                           QList<QTextLayout::FormatRange> &formats) {
    const QString line = block.text();
    if (keywords) {
      keywords(line, formats);
    }
    if (marking) {
      marking(block, formats);
    }
    for (qsizetype i = 0; i < line.size(); ++i) {
      if (cp932::isReserved(line[i].unicode())) {
        formats.append({static_cast<int>(i), 1, format});
      }
    }
  };
}

} // namespace

QStringList localFiles(const QMimeData *mime) {
  QStringList files;
  if (mime == nullptr || !mime->hasUrls()) {
    return files;
  }
  for (const QUrl &url : mime->urls()) {
    if (url.isLocalFile()) {
      files << url.toLocalFile();
    }
  }
  return files;
}

ProgramEditor::ProgramEditor(QWidget *parent) : QPlainTextEdit(parent), colourer_(new LineColourer(this)) {
  // A wrapped line breaks at the right edge, at any character.
  setWordWrapMode(QTextOption::WrapAnywhere);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  // The selection stays as visible as with the focus, so that a find hit
  // shows while another window is active.
  QPalette p = palette();
  p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText,
             p.color(QPalette::Active, QPalette::HighlightedText));
  setPalette(p);
  chosenFont_ = font();
}

ProgramEditor::~ProgramEditor() = default;

void ProgramEditor::setText(const QString &text) {
  // The highlighter would walk every block of a large text; it comes back
  // only when the new text needs it.
  delete highlighter_;
  highlighter_ = nullptr;
  setPlainText(text);
  markPlaceholdersIn(text);
  emit textReplaced();
}

QString ProgramEditor::rawText() const { return document()->toRawText(); }

int ProgramEditor::textLength() const { return document()->characterCount() - 1; }

QChar ProgramEditor::charAt(int pos) const {
  if (pos < 0 || pos >= textLength()) {
    return QChar();
  }
  const QChar c = document()->characterAt(pos);
  return c == QChar::ParagraphSeparator ? QChar(u'\n') : c;
}

int ProgramEditor::lineStart(int pos) const {
  return document()->findBlock(std::clamp(pos, 0, textLength())).position();
}

int ProgramEditor::selStart() const { return textCursor().selectionStart(); }

int ProgramEditor::selLength() const {
  const QTextCursor c = textCursor();
  return c.selectionEnd() - c.selectionStart();
}

void ProgramEditor::setSelStart(int pos) {
  QTextCursor c = textCursor();
  c.setPosition(std::clamp(pos, 0, textLength()));
  setTextCursor(c);
}

void ProgramEditor::setSelLength(int length) {
  QTextCursor c = textCursor();
  const int start = c.selectionStart();
  c.setPosition(start);
  c.setPosition(std::clamp(start + length, 0, textLength()), QTextCursor::KeepAnchor);
  setTextCursor(c);
}

QString ProgramEditor::selText() const { return withNewlines(textCursor().selectedText()); }

QString ProgramEditor::text() const { return withNewlines(rawText()); }

void ProgramEditor::setSelText(const QString &text) {
  markPlaceholdersIn(text);
  QTextCursor c = textCursor();
  // One undo step of its own, not merged into the typing around it.
  c.beginEditBlock();
  c.insertText(text);
  c.endEditBlock();
  setTextCursor(c);
}

void ProgramEditor::setColor(TColor color) {
  color_ = color;
  applyColor(QPalette::Base, color);
  emit colorChanged();
}

void ProgramEditor::setFontColor(TColor color) {
  fontColor_ = color;
  applyColor(QPalette::Text, color);
}

void ProgramEditor::applyColor(QPalette::ColorRole role, TColor color) {
  QPalette p = palette();
  p.setColor(role, toQColor(color, QApplication::palette()));
  setPalette(p);
}

void ProgramEditor::setChosenFont(const QFont &font) {
  chosenFont_ = font;
  setFont(font);
}

void ProgramEditor::zoom(bool larger) {
  const QFont shown = font();
  const double points =
      shown.pointSizeF() > 0 ? shown.pointSizeF() : shown.pixelSize() * 72.0 / logicalDpiY();
  QFont zoomed = chosenFont_;
  zoomed.setPointSizeF(zoomedSize(points, larger));
  setFont(zoomed);
}

void ProgramEditor::wheelEvent(QWheelEvent *event) {
  if (!event->modifiers().testFlag(Qt::ControlModifier)) {
    QPlainTextEdit::wheelEvent(event);
    return;
  }
  // A notch of a wheel is a step; a touchpad's small turns add up to one.
  constexpr int kNotch = QWheelEvent::DefaultDeltasPerStep;
  for (zoomTurn_ += event->angleDelta().y(); zoomTurn_ >= kNotch; zoomTurn_ -= kNotch) {
    zoom(true);
  }
  for (; zoomTurn_ <= -kNotch; zoomTurn_ += kNotch) {
    zoom(false);
  }
  event->accept(); // not a scroll as well
}

bool ProgramEditor::modified() const { return document()->isModified(); }

void ProgramEditor::setModified(bool modified) { document()->setModified(modified); }

void ProgramEditor::setLineColouring(LineColouring colouring) {
  keywords_ = std::move(colouring);
  applyColouring();
}

void ProgramEditor::setLineMarking(BlockColouring marking) {
  marking_ = std::move(marking);
  applyColouring();
}

void ProgramEditor::applyColouring() {
  if (!keywords_ && !marking_) {
    colourer_->setColouring({});
    markPlaceholdersIn(rawText());
    return;
  }
  // The highlighter would overwrite the colours of each line it marks.
  delete highlighter_;
  highlighter_ = nullptr;
  colourer_->setColouring(composed(keywords_, marking_));
}

void ProgramEditor::paintEvent(QPaintEvent *event) {
  if (colourer_->on()) {
    colourVisibleLines(event->region());
  }
  QPlainTextEdit::paintEvent(event);
}

void ProgramEditor::colourVisibleLines(const QRegion &painted) {
  const QPointF offset = contentOffset();
  const int bottom = viewport()->rect().bottom();
  QRegion missed;
  for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
    const QRect line = blockBoundingGeometry(block).translated(offset).toAlignedRect();
    if (line.top() > bottom) {
      break;
    }
    if (colourer_->colourIfStale(block)) {
      missed += QRegion(line).subtracted(painted);
    }
  }
  // A line partly outside this paint still shows its old colours there.
  if (!missed.isEmpty()) {
    viewport()->update(missed);
  }
}

void ProgramEditor::markPlaceholdersIn(QStringView text) {
  if (highlighter_ == nullptr && !colourer_->on() && cp932::containsReserved(text)) {
    highlighter_ = new PlaceholderHighlighter(document());
  }
}

void ProgramEditor::keyPressEvent(QKeyEvent *event) {
  // Shift+Return would insert a line separator inside the line; here every
  // Return starts a new line.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      (event->modifiers() & Qt::ShiftModifier)) {
    QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier, event->text(),
                    event->isAutoRepeat(), event->count());
    QPlainTextEdit::keyPressEvent(&plain);
    event->setAccepted(plain.isAccepted());
    return;
  }
  // Overwriting deletes, then inserts: two undo steps, the first of which
  // would show a text that never existed.
  const QString typed = event->text();
  if (overwriteMode() && !typed.isEmpty() && (typed.front().isPrint() || typed.front() == u'\t')) {
    QTextCursor step = textCursor();
    step.beginEditBlock();
    QPlainTextEdit::keyPressEvent(event);
    step.endEditBlock();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void ProgramEditor::dragEnterEvent(QDragEnterEvent *event) {
  if (!localFiles(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
    return;
  }
  QPlainTextEdit::dragEnterEvent(event);
}

void ProgramEditor::dragMoveEvent(QDragMoveEvent *event) {
  if (!localFiles(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
    return;
  }
  QPlainTextEdit::dragMoveEvent(event);
}

void ProgramEditor::dropEvent(QDropEvent *event) {
  const QStringList files = localFiles(event->mimeData());
  if (!files.isEmpty()) {
    event->acceptProposedAction();
    emit filesDropped(files);
    return;
  }
  QPlainTextEdit::dropEvent(event);
}

void ProgramEditor::insertFromMimeData(const QMimeData *source) {
  if (source != nullptr && source->hasText()) {
    markPlaceholdersIn(source->text());
  }
  QPlainTextEdit::insertFromMimeData(source);
}

void ProgramEditor::selectLine(int line, bool wholeLine) {
  const QTextBlock block = document()->findBlockByNumber(line);
  if (!block.isValid()) {
    return;
  }
  QTextCursor cursor(block);
  if (wholeLine) {
    cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
  }
  setTextCursor(cursor); // which scrolls to it
}

} // namespace kavrin
