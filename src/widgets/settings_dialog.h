#pragma once

#include "logic/settings_table.h"
#include "platform/user_interface.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kavrin {

// The settings dialog: the function-key texts, the AUTO increment, the
// converter and whether its output shows in the panel only, the rules of the
// program check that run.  It edits the values it is given; after OK,
// values() holds what the user confirmed.
class SettingsDialog : public QDialog {
  Q_OBJECT

public:
  SettingsDialog(QWidget *parent, UserInterface &ui);

  void setValues(const Preferences &values);
  const Preferences &values() const { return values_; }

  // F1 to F5, then Shift+F1 to Shift+F5.
  QLineEdit *keyEdit(int index) const { return keyEdits_.at(index); }
  QLineEdit *incrementEdit() const { return increment_; }
  QLineEdit *converterEdit() const { return converter_; }
  QPushButton *okButton() const { return ok_; }
  QPushButton *cancelButton() const { return cancel_; }
  QPushButton *browseButton() const { return browse_; }
  QCheckBox *panelOnlyCheck() const { return panelOnly_; }
  QCheckBox *ruleCheck(basic::CheckRule rule) const {
    return ruleChecks_.at(static_cast<std::size_t>(basic::rowIndex(rule)));
  }

  // Takes the fields over once they are all valid, and closes.
  void confirm();
  void browse();

protected:
  void showEvent(QShowEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

private:
  // Makes the controls of the layout table, in their tab order.
  void build();
  QWidget *make(int row);

  UserInterface &ui_;
  Preferences values_;
  std::array<QLineEdit *, 10> keyEdits_{};
  // The captions of the key fields, in the order of keyEdits_.
  std::array<QLabel *, 10> keyLabels_{};
  QLineEdit *increment_ = nullptr;
  QLineEdit *converter_ = nullptr;
  QLabel *converterLabel_ = nullptr;
  QCheckBox *panelOnly_ = nullptr;
  // One per rule of the check, in the rules' order.
  std::array<QCheckBox *, basic::kCheckRuleCount> ruleChecks_{};
  std::array<QGroupBox *, 4> groups_{};
  QPushButton *ok_ = nullptr;
  QPushButton *cancel_ = nullptr;
  QPushButton *browse_ = nullptr;
  FileDialog programDialog_;
};

} // namespace kavrin
