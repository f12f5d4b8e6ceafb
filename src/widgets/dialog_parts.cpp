#include "widgets/dialog_parts.h"

#include "platform/cp932.h"
#include "platform/user_interface.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

namespace kavrin {

QDialogButtonBox *okCancelButtons(QDialog *dialog) {
  auto *buttons = new QDialogButtonBox(dialog);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

bool holdsOnlyShiftJis(UserInterface &ui, QWidget *owner, QLineEdit *edit, const QString &field) {
  const QString text = edit->text();
  const qsizetype at = cp932::encode(text).firstUnencodable;
  if (at < 0) {
    return true;
  }
  const qsizetype length = text[at].isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
  showMessage(ui, owner,
              QStringLiteral("%1に、Shift-JIS で保存できない文字「%2」があります。")
                  .arg(field, text.mid(at, length)));
  edit->setFocus();
  edit->setSelection(static_cast<int>(at), static_cast<int>(length));
  return false;
}

} // namespace kavrin
