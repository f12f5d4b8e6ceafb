#include "widgets/progress_dialog.h"

#include "widgets/dialog_parts.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavrin {

ProgressDialog::ProgressDialog(QWidget *owner, const QString &text, std::function<void()> onCancel)
    : QDialog(owner, kFixedDialogFlags), onCancel_(std::move(onCancel)) {
  setWindowTitle(QStringLiteral("kavrin"));
  setWindowModality(Qt::WindowModal);
  auto *label = new QLabel(text, this);
  auto *bar = new QProgressBar(this);
  bar->setRange(0, 0); // busy: a converter tells nothing of its progress
  bar->setTextVisible(false);
  bar->setMinimumWidth(label->fontMetrics().averageCharWidth() * 40);
  auto *cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  cancel->setAutoDefault(false);
  connect(cancel, &QPushButton::clicked, this, &ProgressDialog::reject);

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(bar);
  layout->addWidget(cancel, 0, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ProgressDialog::reject() {
  QDialog::reject();
  if (onCancel_) {
    onCancel_();
  }
}

} // namespace kavrin
