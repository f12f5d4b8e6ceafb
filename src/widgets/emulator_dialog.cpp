#include "widgets/emulator_dialog.h"

#include "widgets/dialog_parts.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kavrin {

EmulatorDialog::EmulatorDialog(QWidget *parent) : QDialog(parent, kFixedDialogFlags) {
  setWindowTitle(QStringLiteral("エミュレータの設定"));
  auto *label = new QLabel(QStringLiteral("コマンドライン(&C):"), this);
  commandLine_ = new QLineEdit(this);
  commandLine_->setMinimumWidth(commandLine_->fontMetrics().averageCharWidth() * 48);
  label->setBuddy(commandLine_);
  browse_ = new QPushButton(QStringLiteral("参照(&B)..."), this);
  browse_->setAutoDefault(false);
  auto *hint = new QLabel(
      QStringLiteral("%1 はテープイメージのパスになります。%1 がなければパスは最後に付きます。"), this);
  QDialogButtonBox *buttons = okCancelButtons(this);

  auto *layout = new QGridLayout(this);
  layout->addWidget(label, 0, 0);
  layout->addWidget(commandLine_, 0, 1);
  layout->addWidget(browse_, 0, 2);
  layout->addWidget(hint, 1, 1, 1, 2);
  layout->addWidget(buttons, 2, 0, 1, 3);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(browse_, &QPushButton::clicked, this, &EmulatorDialog::browse);
  commandLine_->setFocus();
}

} // namespace kavrin
