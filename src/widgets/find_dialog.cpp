#include "widgets/find_dialog.h"

#include "widgets/dialog_parts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kavrin {

FindDialog::FindDialog(QWidget *parent) : QDialog(parent, kFixedDialogFlags) {
  setWindowTitle(QStringLiteral("検索"));
  setModal(false);

  auto *label = new QLabel(QStringLiteral("検索する文字列(&N):"), this);
  text_ = new QLineEdit(this);
  label->setBuddy(text_);

  wholeWord_ = new QCheckBox(QStringLiteral("単語単位で探す(&W)"), this);
  matchCase_ = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this);

  direction_ = new QGroupBox(QStringLiteral("方向"), this);
  up_ = new QRadioButton(QStringLiteral("上へ(&U)"), direction_);
  down_ = new QRadioButton(QStringLiteral("下へ(&D)"), direction_);
  down_->setChecked(true);
  auto *directionLayout = new QHBoxLayout(direction_);
  directionLayout->addWidget(up_);
  directionLayout->addWidget(down_);
  direction_->setEnabled(false);

  findNext_ = new QPushButton(QStringLiteral("次を検索(&F)"), this);
  findNext_->setDefault(true);
  findNext_->setEnabled(false);
  cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);

  auto *left = new QGridLayout;
  left->addWidget(label, 0, 0);
  left->addWidget(text_, 0, 1, 1, 2);
  auto *options = new QVBoxLayout;
  options->addStretch();
  options->addWidget(wholeWord_);
  options->addWidget(matchCase_);
  left->addLayout(options, 1, 0, 1, 2);
  left->addWidget(direction_, 1, 2, Qt::AlignBottom);
  left->setRowStretch(1, 1);

  auto *buttons = new QVBoxLayout;
  buttons->addWidget(findNext_);
  buttons->addWidget(cancel_);
  buttons->addStretch();

  auto *layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  text_->setMinimumWidth(text_->fontMetrics().averageCharWidth() * 28);

  connect(text_, &QLineEdit::textChanged, this,
          [this](const QString &text) { findNext_->setEnabled(!text.isEmpty()); });
  // Return in the text box reaches the default button through QDialog, so
  // the button alone emits the signal.
  connect(findNext_, &QPushButton::clicked, this, &FindDialog::findNext);
  // reject() only hides a modeless dialog; Esc takes the same way.
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

QString FindDialog::findText() const { return text_->text(); }

void FindDialog::setFindText(const QString &text) { text_->setText(text); }

bool FindDialog::matchCase() const { return matchCase_->isChecked(); }

bool FindDialog::wholeWord() const { return wholeWord_->isChecked(); }

void FindDialog::setMatchCase(bool on) { matchCase_->setChecked(on); }

void FindDialog::setWholeWord(bool on) { wholeWord_->setChecked(on); }

void FindDialog::present() {
  if (!isVisible()) {
    show();
  }
  raise();
  activateWindow();
  text_->setFocus();
  text_->selectAll();
}

} // namespace kavrin
