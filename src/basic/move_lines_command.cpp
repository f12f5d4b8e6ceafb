#include "basic/move_lines_command.h"

#include "basic/text_edits.h"
#include "logic/line_lookup.h"
#include "logic/move_lines.h"
#include "platform/user_interface.h"
#include "widgets/basic_dialogs.h"
#include "widgets/program_editor.h"
#include "widgets/session.h"

#include <QAction>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextCursor>

namespace kavrin::basic {

MoveLinesCommand::MoveLinesCommand(const FeatureContext &context) : WindowFeature(context) {
  addCommand("moveLines", QStringLiteral("行の移動(&V)..."), &MoveLinesCommand::moveSelectedLines);
}

void MoveLinesCommand::moveSelectedLines() {
  ProgramEditor &edit = *editor();
  const QTextDocument &document = *edit.document();
  // The lines the selection touches: not one that it ends at the start of.
  const QTextCursor selection = edit.textCursor();
  MoveRequest request;
  request.firstLine = document.findBlock(selection.selectionStart()).blockNumber();
  const QTextBlock last = document.findBlock(selection.selectionEnd());
  request.lastLine = last.blockNumber();
  if (selection.selectionEnd() == last.position() && request.lastLine > request.firstLine) {
    --request.lastLine;
  }
  if (dialog_ == nullptr) {
    dialog_ = new MoveLinesDialog(window());
  }
  dialog_->newStart()->setFocus();
  dialog_->newStart()->selectAll();
  if (ui().execModal(*dialog_) != QDialog::Accepted) {
    return;
  }
  // What is not a number reads as 0, which is refused.
  request.newStart = parseWholeNumber(dialog_->newStart()->text()).value_or(0);
  request.increment = parseWholeNumber(dialog_->increment()->text()).value_or(0);
  const QString text = edit.text();
  const MoveResult result = moveLines(text, request, session().keywordMatcher());
  if (!result.error.isEmpty()) {
    message(result.error);
    return;
  }
  if (result.text != text) {
    replaceText(edit, text, result.text, result.newLineOf, result.firstLine);
  }
  const QTextBlock end = document.findBlockByNumber(result.lastLine);
  QTextCursor moved(document.findBlockByNumber(result.firstLine));
  moved.setPosition(end.position() + end.length() - 1, QTextCursor::KeepAnchor);
  edit.setTextCursor(moved); // which scrolls to it
}

} // namespace kavrin::basic
