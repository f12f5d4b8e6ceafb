#pragma once

#include "logic/check_rules.h"
#include "logic/line_number.h"

#include <QAbstractListModel>
#include <QIcon>
#include <QString>

#include <array>
#include <deque>
#include <optional>

class QTextDocument;

namespace kavrin {

class LineMarks;

// One row of the result panel: a text and what it points to.
struct ResultRow {
  QString text;
  // A document line (0-based, when listed) that the row follows through
  // edits and rewrites; -1 for none.
  int line = -1;
  // A BASIC line number the row names (converter output).  With `line`, the
  // line that had it when listed, followed as any line; without, the line
  // is looked up by the number when the row is chosen.
  std::optional<basic::LineNumber> number;
  // False when the followed line is the one after a missing `number`:
  // going there beeps, as Ctrl+G does.
  bool exact = true;
  // The row shows its line's text as it is now (a reference), not `text`
  // (which stays for a deleted line).
  bool showsLine = false;
  // The rule of the program check a finding's row names.
  basic::CheckRule rule = basic::CheckRule::Basic;
  // A finding's kind, shown by an icon: an error or only a warning.
  enum class Kind : quint8 { None, Error, Warning } kind = Kind::None;
  // How the line is named (lineLabel) when its text was read already.
  QString named = {};
};

// The rows of one tab of the result panel.  A row that follows a line is
// labelled by the line as it is now (lineLabel: 「行 120: text」), computed
// when shown, so an edit costs nothing here; a row whose line was deleted
// keeps the last label shown and says so.
class ResultRows : public QAbstractListModel {
  Q_OBJECT

public:
  ResultRows(QTextDocument *document, QObject *parent);

  // Replaces every row.
  void replace(const QList<ResultRow> &rows);
  // Adds rows at the end; past `mostRows` the oldest go and a first row
  // tells how many went.
  void append(const QList<ResultRow> &rows, int mostRows);

  int rowCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role) const override;
  QString label(int row) const;

  // The row's line now: -1 when it follows none or its line was deleted.
  int lineOf(int row) const;
  // Whether the row follows a line, deleted or not.
  bool followsLine(int row) const { return rows_[static_cast<size_t>(row)].mark >= 0; }
  // Where the row's line starts now, -1 as lineOf: for ordering rows.
  int positionOf(int row) const;
  const std::optional<basic::LineNumber> &numberOf(int row) const;
  bool exactOf(int row) const { return rows_[static_cast<size_t>(row)].exact; }
  basic::CheckRule ruleOf(int row) const { return rows_[static_cast<size_t>(row)].rule; }
  // No row follows a line or names a number any more.
  void unlink();
  // From now on the rows of lines take their lines' order again whenever
  // a rewrite (lines moved or sorted, or its undo) changed it.
  void keepInTextOrder();

private:
  void dropOldest(int mostRows);
  void putInTextOrder();

  struct Row {
    // A row showing its line keeps the text last shown, for a deleted line.
    mutable QString text;
    int mark = -1;
    std::optional<basic::LineNumber> number;
    bool exact = true;
    bool showsLine = false;
    // How the line was last named, kept for the label once it is deleted.
    mutable QString named;
    basic::CheckRule rule = basic::CheckRule::Basic;
    ResultRow::Kind kind = ResultRow::Kind::None;
  };

  // The row as held, its line marked.
  Row held(const ResultRow &row);

  QTextDocument *document_;
  LineMarks *marks_;
  std::deque<Row> rows_;
  // The icons of an error and of a warning, read on first use.
  mutable std::array<QIcon, 2> icons_;
  // Rows dropped from the top by append, told in a first row.
  qsizetype dropped_ = 0;
};

} // namespace kavrin
