#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace kavrin {

// The emulator's command line, with a button to choose its program.
class EmulatorDialog : public QDialog {
  Q_OBJECT

public:
  explicit EmulatorDialog(QWidget *parent);

  QLineEdit *commandLine() const { return commandLine_; }
  QPushButton *browseButton() const { return browse_; }

signals:
  void browse();

private:
  QLineEdit *commandLine_;
  QPushButton *browse_;
};

} // namespace kavrin
