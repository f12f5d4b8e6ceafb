#pragma once

#include <QDialog>

class QLineEdit;

namespace kavrin {

// The three values of the machine's renumber command, in its order, and
// the last line to renumber.  The fields keep what was typed between
// showings.
class RenumberDialog : public QDialog {
  Q_OBJECT

public:
  explicit RenumberDialog(QWidget *parent);

  QLineEdit *newStart() const { return newStart_; }
  QLineEdit *increment() const { return increment_; }
  // Empty: from the first program line.
  QLineEdit *oldStart() const { return oldStart_; }
  // Empty: to the last program line.
  QLineEdit *oldEnd() const { return oldEnd_; }

private:
  QLineEdit *newStart_;
  QLineEdit *increment_;
  QLineEdit *oldStart_;
  QLineEdit *oldEnd_;
};

// The new first number and the increment of the lines to move.  The fields
// keep what was typed between showings.
class MoveLinesDialog : public QDialog {
  Q_OBJECT

public:
  explicit MoveLinesDialog(QWidget *parent);

  QLineEdit *newStart() const { return newStart_; }
  QLineEdit *increment() const { return increment_; }

private:
  QLineEdit *newStart_;
  QLineEdit *increment_;
};

// Asks for a label's new name.
class LabelNameDialog : public QDialog {
  Q_OBJECT

public:
  explicit LabelNameDialog(QWidget *parent);

  QLineEdit *name() const { return name_; }

private:
  QLineEdit *name_;
};

// Asks for the line number to go to.
class LineNumberDialog : public QDialog {
  Q_OBJECT

public:
  explicit LineNumberDialog(QWidget *parent);

  QLineEdit *number() const { return number_; }

private:
  QLineEdit *number_;
};

} // namespace kavrin
