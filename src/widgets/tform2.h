#pragma once

#include "platform/user_interface.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kavrin {

class TForm1;

// The settings dialog: the function-key texts, the AUTO increment and the
// converter.  Made once after the main window and kept; every showing
// starts from the main window's current settings.
class TForm2 : public QDialog {
  Q_OBJECT

public:
  explicit TForm2(TForm1 &main);
  ~TForm2() override;

  QGroupBox *GroupBox1 = nullptr;
  QGroupBox *GroupBox2 = nullptr;
  QGroupBox *GroupBox3 = nullptr;
  std::array<QLabel *, 12> Labels{}; // Label1 to Label12
  QLineEdit *Edit1 = nullptr;
  QLineEdit *Edit2 = nullptr;
  QLineEdit *Edit3 = nullptr;
  QLineEdit *Edit4 = nullptr;
  QLineEdit *Edit5 = nullptr;
  QLineEdit *Edit6 = nullptr;
  QLineEdit *Edit7 = nullptr;
  QLineEdit *Edit8 = nullptr;
  QLineEdit *Edit9 = nullptr;
  QLineEdit *Edit10 = nullptr;
  QLineEdit *Edit11 = nullptr;
  QLineEdit *Edit12 = nullptr;
  QPushButton *Button1 = nullptr;
  QPushButton *Button2 = nullptr;
  QPushButton *Button3 = nullptr;
  FileDialog OpenDialog1;

  // F1 to F5, then Shift+F1 to Shift+F5, as FunctionKeys counts them.
  std::array<QLineEdit *, 10> KeyEdits{};

  void FormActivate();
  void Button1Click();
  void Button2Click();
  void Button3Click();

protected:
  void showEvent(QShowEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

private:
  TForm1 &main_;
};

// The settings dialog, set while it exists.
extern TForm2 *Form2;

} // namespace kavrin
