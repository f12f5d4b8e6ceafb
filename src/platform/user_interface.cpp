#include "platform/user_interface.h"

namespace kavrin {

void showMessage(UserInterface &ui, QWidget *owner, const QString &text) {
  ui.messageBox(owner, text, QStringLiteral("kavrin"), MsgButtons::Ok, MsgResult::Ok);
}

} // namespace kavrin
