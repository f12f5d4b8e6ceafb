#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kavrin {

// The modeless replace dialog, laid out as the find dialog.  It only
// collects what to find and what to put instead; the owner acts on its
// signals.
class ReplaceDialog : public QDialog {
  Q_OBJECT

public:
  explicit ReplaceDialog(QWidget *parent = nullptr);

  QString findText() const;
  void setFindText(const QString &text);
  QString replaceText() const;
  bool matchCase() const;
  bool wholeWord() const;

  QLineEdit *findEdit() const { return find_; }
  QLineEdit *replaceEdit() const { return replace_; }
  QCheckBox *wholeWordBox() const { return wholeWord_; }
  QCheckBox *matchCaseBox() const { return matchCase_; }
  QPushButton *findNextButton() const { return findNext_; }
  QPushButton *replaceButton() const { return replaceNext_; }
  QPushButton *replaceAllButton() const { return replaceAll_; }

  // Shows the dialog, or brings it to the front, ready to type over the
  // text to find.
  void present();

signals:
  void findNext();
  void replaceNext();
  void replaceAll();

private:
  QLineEdit *find_;
  QLineEdit *replace_;
  QCheckBox *wholeWord_;
  QCheckBox *matchCase_;
  QPushButton *findNext_;
  QPushButton *replaceNext_;
  QPushButton *replaceAll_;
  QPushButton *cancel_;
};

} // namespace kavrin
