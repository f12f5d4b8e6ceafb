#include "widgets/find_next.h"

#include "platform/user_interface.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace kavrin {

void findNext(QPlainTextEdit &editor, UserInterface &ui, const SearchOptions &options) {
  QTextCursor caret = editor.textCursor();
  if (caret.hasSelection()) {
    caret.setPosition(searchStart(caret, editor.document()->characterCount() - 1));
    editor.setTextCursor(caret);
  }
  const QTextCursor hit = findForward(*editor.document(), caret.position(), options);
  if (hit.isNull()) {
    ui.messageBox(nullptr, QStringLiteral("End of document reached."), QStringLiteral("Find/Rep"),
                  MsgButtons::Ok, MsgResult::Ok);
    return;
  }
  editor.setTextCursor(hit); // which scrolls to it
}

} // namespace kavrin
