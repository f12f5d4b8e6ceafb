#include "widgets/basic_dialogs.h"

#include "widgets/dialog_parts.h"

#include <QDialogButtonBox>

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace kavrin {
namespace {

QLineEdit *addField(QDialog *dialog, QFormLayout *form, const QString &caption, const QString &text) {
  auto *field = new QLineEdit(text, dialog);
  field->setMinimumWidth(field->fontMetrics().averageCharWidth() * 12);
  auto *label = new QLabel(caption, dialog);
  label->setBuddy(field);
  form->addRow(label, field);
  return field;
}

void addButtons(QDialog *dialog, QVBoxLayout *layout) {
  layout->addWidget(okCancelButtons(dialog));
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace

RenumberDialog::RenumberDialog(QWidget *parent) : QDialog(parent, kFixedDialogFlags) {
  setWindowTitle(QStringLiteral("番号の振り直し"));
  auto *layout = new QVBoxLayout(this);
  auto *form = new QFormLayout;
  layout->addLayout(form);
  newStart_ = addField(this, form, QStringLiteral("新しい開始番号(&N):"), QStringLiteral("10"));
  increment_ = addField(this, form, QStringLiteral("増分(&I):"), QStringLiteral("10"));
  oldStart_ = addField(this, form, QStringLiteral("振り直す最初の行(&F):"), QString());
  oldStart_->setPlaceholderText(QStringLiteral("先頭の行"));
  oldEnd_ = addField(this, form, QStringLiteral("最後の旧行番号(&E):"), QString());
  oldEnd_->setPlaceholderText(QStringLiteral("最後の行"));
  addButtons(this, layout);
  newStart_->setFocus();
}

MoveLinesDialog::MoveLinesDialog(QWidget *parent) : QDialog(parent, kFixedDialogFlags) {
  setWindowTitle(QStringLiteral("行の移動"));
  auto *layout = new QVBoxLayout(this);
  auto *form = new QFormLayout;
  layout->addLayout(form);
  newStart_ = addField(this, form, QStringLiteral("新しい開始番号(&N):"), QStringLiteral("10"));
  increment_ = addField(this, form, QStringLiteral("増分(&I):"), QStringLiteral("10"));
  addButtons(this, layout);
  newStart_->setFocus();
}

LabelNameDialog::LabelNameDialog(QWidget *parent) : QDialog(parent, kFixedDialogFlags) {
  setWindowTitle(QStringLiteral("ラベル名の変更"));
  auto *layout = new QVBoxLayout(this);
  auto *form = new QFormLayout;
  layout->addLayout(form);
  name_ = addField(this, form, QStringLiteral("新しい名前(&N):"), QString());
  addButtons(this, layout);
}

LineNumberDialog::LineNumberDialog(QWidget *parent) : QDialog(parent, kFixedDialogFlags) {
  setWindowTitle(QStringLiteral("行番号へ移動"));
  auto *layout = new QVBoxLayout(this);
  auto *form = new QFormLayout;
  layout->addLayout(form);
  number_ = addField(this, form, QStringLiteral("行番号(&N):"), QString());
  addButtons(this, layout);
  number_->setFocus();
}

} // namespace kavrin
