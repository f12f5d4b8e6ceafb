#include "widgets/replace_dialog.h"

#include "widgets/dialog_parts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavrin {

ReplaceDialog::ReplaceDialog(QWidget *parent) : QDialog(parent, kFixedDialogFlags) {
  setWindowTitle(QStringLiteral("置換"));
  setModal(false);

  auto *findLabel = new QLabel(QStringLiteral("検索する文字列(&N):"), this);
  find_ = new QLineEdit(this);
  findLabel->setBuddy(find_);
  auto *replaceLabel = new QLabel(QStringLiteral("置換後の文字列(&P):"), this);
  replace_ = new QLineEdit(this);
  replaceLabel->setBuddy(replace_);
  wholeWord_ = new QCheckBox(QStringLiteral("単語単位で探す(&W)"), this);
  matchCase_ = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this);

  findNext_ = new QPushButton(QStringLiteral("次を検索(&F)"), this);
  findNext_->setDefault(true);
  replaceNext_ = new QPushButton(QStringLiteral("置換して次に(&R)"), this);
  replaceAll_ = new QPushButton(QStringLiteral("すべて置換(&A)"), this);
  cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);

  auto *left = new QGridLayout;
  left->addWidget(findLabel, 0, 0);
  left->addWidget(find_, 0, 1);
  left->addWidget(replaceLabel, 1, 0);
  left->addWidget(replace_, 1, 1);
  left->addWidget(wholeWord_, 2, 0, 1, 2);
  left->addWidget(matchCase_, 3, 0, 1, 2);
  left->setRowStretch(4, 1);

  auto *buttons = new QVBoxLayout;
  for (QPushButton *button : {findNext_, replaceNext_, replaceAll_, cancel_}) {
    buttons->addWidget(button);
  }
  buttons->addStretch();

  auto *layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  find_->setMinimumWidth(find_->fontMetrics().averageCharWidth() * 28);
  QWidget::setTabOrder(find_, replace_);

  const auto enable = [this](const QString &text) {
    for (QPushButton *button : {findNext_, replaceNext_, replaceAll_}) {
      button->setEnabled(!text.isEmpty());
    }
  };
  enable(QString());
  connect(find_, &QLineEdit::textChanged, this, enable);
  connect(findNext_, &QPushButton::clicked, this, &ReplaceDialog::findNext);
  connect(replaceNext_, &QPushButton::clicked, this, &ReplaceDialog::replaceNext);
  connect(replaceAll_, &QPushButton::clicked, this, &ReplaceDialog::replaceAll);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

QString ReplaceDialog::findText() const { return find_->text(); }

void ReplaceDialog::setFindText(const QString &text) { find_->setText(text); }

QString ReplaceDialog::replaceText() const { return replace_->text(); }

bool ReplaceDialog::matchCase() const { return matchCase_->isChecked(); }

bool ReplaceDialog::wholeWord() const { return wholeWord_->isChecked(); }

void ReplaceDialog::present() {
  if (!isVisible()) {
    show();
  }
  raise();
  activateWindow();
  find_->setFocus();
  find_->selectAll();
}

} // namespace kavrin
