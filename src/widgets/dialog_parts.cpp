#include "widgets/dialog_parts.h"

#include <QDialog>
#include <QDialogButtonBox>
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

} // namespace kavrin
