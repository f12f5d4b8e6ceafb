#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTextDocument;

namespace kavrin {

class LineMarks;

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

// Asks for the line number to go to.
class LineNumberDialog : public QDialog {
  Q_OBJECT

public:
  explicit LineNumberDialog(QWidget *parent);

  QLineEdit *number() const { return number_; }

private:
  QLineEdit *number_;
};

// Lines of the program, each with a remark, that follow their line
// through later edits: the findings of a check, the references to a line.
// Modeless: the editor stays usable while it is open.
class LineListWindow : public QDialog {
  Q_OBJECT

public:
  struct Item {
    int line; // 0-based line of the document when listed
    QString text;
  };

  LineListWindow(QWidget *parent, const QString &title, QTextDocument *document);

  // Replaces the list and brings the window up with the list focused.
  void present(const QList<Item> &items, const QString &summary);
  // Replaces the list where it is, shown or not, keeping the current row
  // on its line or the next listed one.
  void replaceRows(const QList<Item> &items, const QString &summary);
  // Shows the window, in front, with the first row current and focused.
  void bringUp();
  // The line of the row's item now; -1 once that line was deleted.
  int lineOf(int row) const;
  QListWidget *list() const { return list_; }
  QLabel *summary() const { return summary_; }

signals:
  // The row chosen, by Enter or a double-click.
  void rowActivated(int row);

private:
  QLabel *summary_;
  QListWidget *list_;
  LineMarks *lines_;
};

} // namespace kavrin
