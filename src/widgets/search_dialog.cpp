#include "widgets/search_dialog.h"

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

SearchDialog::SearchDialog(Purpose purpose, QWidget *parent) : QDialog(parent, kFixedDialogFlags) {
  const bool replacing = purpose == Purpose::Replace;
  setWindowTitle(replacing ? QStringLiteral("置換") : QStringLiteral("検索"));
  setModal(false);

  find_ = new QLineEdit(this);
  wholeWord_ = new QCheckBox(QStringLiteral("単語単位で探す(&W)"), this);
  matchCase_ = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this);
  findNext_ = new QPushButton(QStringLiteral("次を検索(&F)"), this);
  findNext_->setDefault(true);
  QList<QPushButton *> searching{findNext_};
  if (replacing) {
    replaceNext_ = new QPushButton(QStringLiteral("置換して次に(&R)"), this);
    replaceAll_ = new QPushButton(QStringLiteral("すべて置換(&A)"), this);
    searching << replaceNext_ << replaceAll_;
  }
  cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);

  auto *buttons = new QVBoxLayout;
  for (QPushButton *button : searching) {
    buttons->addWidget(button);
  }
  buttons->addWidget(cancel_);
  buttons->addStretch();

  auto *layout = new QHBoxLayout(this);
  layout->addLayout(replacing ? replaceLayout() : findLayout(), 1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  find_->setMinimumWidth(find_->fontMetrics().averageCharWidth() * 28);

  const auto enable = [searching](const QString &text) {
    for (QPushButton *button : searching) {
      button->setEnabled(!text.isEmpty());
    }
  };
  enable(QString());
  connect(find_, &QLineEdit::textChanged, this, enable);
  // Return in a text box reaches the default button through QDialog, so
  // the button alone emits the signal.
  connect(findNext_, &QPushButton::clicked, this, &SearchDialog::findNext);
  if (replacing) {
    connect(replaceNext_, &QPushButton::clicked, this, &SearchDialog::replaceNext);
    connect(replaceAll_, &QPushButton::clicked, this, &SearchDialog::replaceAll);
  }
  // reject() only hides a modeless dialog; Esc takes the same way.
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

QGridLayout *SearchDialog::findLayout() {
  auto *label = new QLabel(QStringLiteral("検索する文字列(&N):"), this);
  label->setBuddy(find_);
  direction_ = new QGroupBox(QStringLiteral("方向"), this);
  auto *up = new QRadioButton(QStringLiteral("上へ(&U)"), direction_);
  auto *down = new QRadioButton(QStringLiteral("下へ(&D)"), direction_);
  down->setChecked(true);
  auto *directionLayout = new QHBoxLayout(direction_);
  directionLayout->addWidget(up);
  directionLayout->addWidget(down);
  direction_->setEnabled(false);

  auto *left = new QGridLayout;
  left->addWidget(label, 0, 0);
  left->addWidget(find_, 0, 1, 1, 2);
  auto *options = new QVBoxLayout;
  options->addStretch();
  options->addWidget(wholeWord_);
  options->addWidget(matchCase_);
  left->addLayout(options, 1, 0, 1, 2);
  left->addWidget(direction_, 1, 2, Qt::AlignBottom);
  left->setRowStretch(1, 1);
  return left;
}

QGridLayout *SearchDialog::replaceLayout() {
  auto *findLabel = new QLabel(QStringLiteral("検索する文字列(&N):"), this);
  findLabel->setBuddy(find_);
  auto *replaceLabel = new QLabel(QStringLiteral("置換後の文字列(&P):"), this);
  replace_ = new QLineEdit(this);
  replaceLabel->setBuddy(replace_);
  QWidget::setTabOrder(find_, replace_);

  auto *left = new QGridLayout;
  left->addWidget(findLabel, 0, 0);
  left->addWidget(find_, 0, 1);
  left->addWidget(replaceLabel, 1, 0);
  left->addWidget(replace_, 1, 1);
  left->addWidget(wholeWord_, 2, 0, 1, 2);
  left->addWidget(matchCase_, 3, 0, 1, 2);
  left->setRowStretch(4, 1);
  return left;
}

QString SearchDialog::findText() const { return find_->text(); }

void SearchDialog::setFindText(const QString &text) { find_->setText(text); }

QString SearchDialog::replaceText() const { return replace_ != nullptr ? replace_->text() : QString(); }

SearchOptions SearchDialog::options() const {
  return {find_->text(), matchCase_->isChecked(), wholeWord_->isChecked()};
}

void SearchDialog::present() {
  if (!isVisible()) {
    show();
  }
  raise();
  activateWindow();
  find_->setFocus();
  find_->selectAll();
}

} // namespace kavrin
