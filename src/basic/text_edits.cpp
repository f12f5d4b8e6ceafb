#include "basic/text_edits.h"

#include "widgets/line_marks.h"
#include "widgets/program_editor.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

namespace kavrin::basic {

namespace {

void replaceDifference(ProgramEditor &editor, const QString &old, const QString &text, int caretLine) {
  const int column = editor.textCursor().positionInBlock();
  const int scroll = editor.verticalScrollBar()->value();
  // Only what differs is replaced: the editor's work grows with it.
  const qsizetype shorter = std::min(old.size(), text.size());
  qsizetype head = 0;
  while (head < shorter && old[head] == text[head]) {
    ++head;
  }
  qsizetype tail = 0;
  while (tail < shorter - head && old[old.size() - 1 - tail] == text[text.size() - 1 - tail]) {
    ++tail;
  }
  editor.setSelStart(static_cast<int>(head));
  editor.setSelLength(static_cast<int>(old.size() - tail - head));
  editor.setSelText(text.mid(head, text.size() - tail - head));
  const QTextBlock block = editor.document()->findBlockByNumber(std::min(caretLine, editor.blockCount() - 1));
  QTextCursor caret(block);
  caret.setPosition(block.position() + std::min(column, block.length() - 1));
  editor.setTextCursor(caret);
  editor.verticalScrollBar()->setValue(scroll);
  editor.ensureCursorVisible();
}

} // namespace

void replaceText(ProgramEditor &editor, const QString &old, const QString &text,
                 const std::vector<int> &newLineOf, int caretLine) {
  if (old == text) {
    replaceDifference(editor, old, text, caretLine); // only places the caret
    return;
  }
  LineMarks::followRewrite(editor.document(), newLineOf,
                           [&] { replaceDifference(editor, old, text, caretLine); });
}

} // namespace kavrin::basic
