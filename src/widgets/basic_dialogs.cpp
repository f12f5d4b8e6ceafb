#include "widgets/basic_dialogs.h"

#include "widgets/dialog_parts.h"
#include "widgets/line_marks.h"

#include <QDialogButtonBox>

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
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

LineNumberDialog::LineNumberDialog(QWidget *parent) : QDialog(parent, kFixedDialogFlags) {
  setWindowTitle(QStringLiteral("行番号へ移動"));
  auto *layout = new QVBoxLayout(this);
  auto *form = new QFormLayout;
  layout->addLayout(form);
  number_ = addField(this, form, QStringLiteral("行番号(&N):"), QString());
  addButtons(this, layout);
  number_->setFocus();
}

LineListWindow::LineListWindow(QWidget *parent, const QString &title, QTextDocument *document)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      lines_(new LineMarks(document, this)) {
  setWindowTitle(title);
  setModal(false);
  summary_ = new QLabel(this);
  list_ = new QListWidget(this);
  list_->setMinimumSize(list_->fontMetrics().averageCharWidth() * 60, list_->fontMetrics().height() * 12);
  auto *close = new QPushButton(QStringLiteral("閉じる"), this);
  close->setAutoDefault(false);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(list_, 1);
  layout->addWidget(close, 0, Qt::AlignRight);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  // Double-click and Enter both activate.
  connect(list_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem *item) { emit rowActivated(list_->row(item)); });
}

void LineListWindow::present(const QList<Item> &items, const QString &summary) {
  replaceRows(items, summary);
  bringUp();
}

void LineListWindow::replaceRows(const QList<Item> &items, const QString &summary) {
  const int current = list_->currentRow();
  const int currentLine = current >= 0 ? lines_->lineOf(current) : -1;
  lines_->clear();
  const int last = static_cast<int>(items.size()) - 1;
  int row = std::min(current, last);
  if (currentLine >= 0) {
    const auto at = std::find_if(items.begin(), items.end(),
                                 [currentLine](const Item &item) { return item.line >= currentLine; });
    row = at == items.end() ? last : static_cast<int>(at - items.begin());
  }
  // The rows there are take the new texts: deleting thousands of rows
  // costs Qt far more than changing them.
  while (list_->count() > items.size()) {
    delete list_->takeItem(list_->count() - 1);
  }
  for (qsizetype i = 0; i < items.size(); ++i) {
    const QString text = QStringLiteral("%1 行目: %2").arg(items[i].line + 1).arg(items[i].text);
    QListWidgetItem *at = list_->item(static_cast<int>(i));
    if (at == nullptr) {
      new QListWidgetItem(text, list_);
    } else if (at->text() != text) {
      at->setText(text);
    }
    lines_->mark(items[i].line);
  }
  summary_->setText(summary);
  list_->setCurrentRow(row);
}

void LineListWindow::bringUp() {
  list_->setCurrentRow(list_->count() > 0 ? 0 : -1);
  if (!isVisible()) {
    show();
  }
  raise();
  activateWindow();
  list_->setFocus();
}

int LineListWindow::lineOf(int row) const { return lines_->lineOf(row); }

} // namespace kavrin
