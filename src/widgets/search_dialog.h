#pragma once

#include "logic/text_search.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QGridLayout;
class QLineEdit;
class QPushButton;

namespace kavrin {

// The modeless find and replace dialogs, laid out as the Windows ones.  A
// dialog only collects what to find (and what to put instead); the owner
// acts on its signals.  Searching is always forward, so the find dialog's
// direction group is shown but disabled.
class SearchDialog : public QDialog {
  Q_OBJECT

public:
  enum class Purpose { Find, Replace };

  SearchDialog(Purpose purpose, QWidget *parent = nullptr);

  QString findText() const;
  void setFindText(const QString &text);
  QString replaceText() const;
  SearchOptions options() const;

  QLineEdit *findEdit() const { return find_; }
  QLineEdit *replaceEdit() const { return replace_; }
  QCheckBox *wholeWordBox() const { return wholeWord_; }
  QCheckBox *matchCaseBox() const { return matchCase_; }
  QGroupBox *directionBox() const { return direction_; }
  QPushButton *findNextButton() const { return findNext_; }
  QPushButton *replaceButton() const { return replaceNext_; }
  QPushButton *replaceAllButton() const { return replaceAll_; }

  // Shows the dialog, or brings it to the front when already open, ready to
  // type over the text to find.
  void present();

signals:
  void findNext();
  void replaceNext();
  void replaceAll();

private:
  QGridLayout *findLayout();
  QGridLayout *replaceLayout();

  QLineEdit *find_;
  QLineEdit *replace_ = nullptr;
  QCheckBox *wholeWord_;
  QCheckBox *matchCase_;
  QGroupBox *direction_ = nullptr;
  QPushButton *findNext_;
  QPushButton *replaceNext_ = nullptr;
  QPushButton *replaceAll_ = nullptr;
  QPushButton *cancel_;
};

} // namespace kavrin
