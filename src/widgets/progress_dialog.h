#pragma once

#include <QDialog>

#include <functional>

namespace kavrin {

// The window of a task that runs on: a text, a busy bar and キャンセル.  It
// has no timer of its own, so it shows exactly when its owner says.  The
// button, Esc and the close button cancel; Return does not, so that a
// Return meant for a box just closed stops nothing.
class ProgressDialog : public QDialog {
public:
  ProgressDialog(QWidget *owner, const QString &text, std::function<void()> onCancel);

  void reject() override;

private:
  std::function<void()> onCancel_;
};

} // namespace kavrin
