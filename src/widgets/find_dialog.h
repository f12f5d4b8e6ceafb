#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kavrin {

// The modeless find dialog, laid out as the Windows one.  It only collects
// what to find; the owner searches when findNext is emitted.  Searching is
// always forward, so the direction group is shown but disabled.
class FindDialog : public QDialog {
  Q_OBJECT

public:
  explicit FindDialog(QWidget *parent = nullptr);

  QString findText() const;
  void setFindText(const QString &text);
  bool matchCase() const;
  bool wholeWord() const;
  void setMatchCase(bool on);
  void setWholeWord(bool on);

  QPushButton *findNextButton() const { return findNext_; }

  // Shows the dialog, or brings it to the front when already open, ready to
  // type over the text.
  void present();

signals:
  void findNext();

private:
  QLineEdit *text_;
  QCheckBox *wholeWord_;
  QCheckBox *matchCase_;
  QGroupBox *direction_;
  QRadioButton *up_;
  QRadioButton *down_;
  QPushButton *findNext_;
  QPushButton *cancel_;
};

} // namespace kavrin
