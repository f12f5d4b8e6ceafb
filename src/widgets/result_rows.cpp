#include "widgets/result_rows.h"

#include "widgets/line_marks.h"

#include <QApplication>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <numeric>

namespace kavrin {

ResultRows::ResultRows(QTextDocument *document, QObject *parent)
    : QAbstractListModel(parent), document_(document), marks_(new LineMarks(document, this)) {}

ResultRows::Row ResultRows::held(const ResultRow &row) {
  QTextBlock block;
  const int mark = row.line < 0 ? -1 : marks_->mark(row.line, &block);
  // A line deleted before its row is shown is still named as it was.
  const QString named = !row.named.isEmpty() || !block.isValid() || row.number
                            ? row.named
                            : basic::lineLabel(block.text(), row.line);
  return {row.text, mark, row.number, row.exact, row.showsLine, named, row.rule, row.kind};
}

void ResultRows::replace(const QList<ResultRow> &rows) {
  beginResetModel();
  rows_.clear();
  marks_->clear();
  dropped_ = 0;
  for (const ResultRow &row : rows) {
    rows_.push_back(held(row));
  }
  endResetModel();
}

void ResultRows::append(const QList<ResultRow> &rows, int mostRows) {
  if (rows.isEmpty()) {
    return;
  }
  const int first = static_cast<int>(rows_.size());
  beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
  for (const ResultRow &row : rows) {
    rows_.push_back(held(row));
  }
  endInsertRows();
  if (rows_.size() > static_cast<size_t>(mostRows)) {
    dropOldest(mostRows);
  }
}

void ResultRows::dropOldest(int mostRows) {
  if (dropped_ == 0) {
    beginInsertRows({}, 0, 0);
    rows_.push_front({});
    endInsertRows();
  }
  // The oldest rows after the count go, and their marks with them.
  const int excess = static_cast<int>(rows_.size()) - mostRows;
  for (auto row = rows_.begin() + 1; row != rows_.begin() + 1 + excess; ++row) {
    if (row->mark >= 0) {
      marks_->unmark(row->mark);
    }
  }
  beginRemoveRows({}, 1, excess);
  rows_.erase(rows_.begin() + 1, rows_.begin() + 1 + excess);
  endRemoveRows();
  dropped_ += excess;
  rows_.front().text = QStringLiteral("(以前の %1 行は省略しました)").arg(dropped_);
  emit dataChanged(index(0), index(0));
}

void ResultRows::unlink() {
  marks_->clear();
  for (Row &row : rows_) {
    row.mark = -1;
    row.number.reset();
  }
}

void ResultRows::keepInTextOrder() {
  connect(marks_, &LineMarks::rewriteFollowed, this, &ResultRows::putInTextOrder, Qt::UniqueConnection);
}

void ResultRows::putInTextOrder() {
  // The rows of deleted lines, and those that follow none, keep their place.
  std::vector<int> places;
  for (int row = 0; row < rowCount(); ++row) {
    if (positionOf(row) >= 0) {
      places.push_back(row);
    }
  }
  std::vector<int> order = places;
  std::stable_sort(order.begin(), order.end(),
                   [this](int a, int b) { return positionOf(a) < positionOf(b); });
  if (order == places) {
    return;
  }
  emit layoutAboutToBeChanged();
  std::deque<Row> rows = rows_;
  std::vector<int> rowNow(rows_.size());
  std::iota(rowNow.begin(), rowNow.end(), 0);
  for (std::size_t k = 0; k < places.size(); ++k) {
    rows[static_cast<std::size_t>(places[k])] = rows_[static_cast<std::size_t>(order[k])];
    rowNow[static_cast<std::size_t>(order[k])] = places[k];
  }
  rows_.swap(rows);
  const QModelIndexList from = persistentIndexList();
  QModelIndexList to;
  for (const QModelIndex &before : from) {
    to.push_back(index(rowNow[static_cast<std::size_t>(before.row())]));
  }
  changePersistentIndexList(from, to);
  emit layoutChanged();
}

int ResultRows::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant ResultRows::data(const QModelIndex &index, int role) const {
  if (!index.isValid()) {
    return {};
  }
  if (role == Qt::DecorationRole) {
    const ResultRow::Kind kind = rows_[static_cast<size_t>(index.row())].kind;
    if (kind == ResultRow::Kind::None) {
      return {};
    }
    // Read once: each row painted asks again, and the style reads a file.
    QIcon &icon = icons_[kind == ResultRow::Kind::Error ? 0 : 1];
    if (icon.isNull()) {
      icon = QApplication::style()->standardIcon(
          kind == ResultRow::Kind::Error ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxWarning);
    }
    return icon;
  }
  return role == Qt::DisplayRole ? QVariant(label(index.row())) : QVariant();
}

QString ResultRows::label(int row) const {
  const Row &r = rows_[static_cast<size_t>(row)];
  if (r.mark < 0) {
    return r.text;
  }
  const int line = marks_->lineOf(r.mark);
  // A row that names a number says so itself; a followed line is told.
  if (r.number) {
    return line < 0 ? r.text + QStringLiteral(" (削除された行)") : r.text;
  }
  if (line < 0) {
    return QStringLiteral("%1: %2 (削除された行)").arg(r.named, r.text);
  }
  const QString now = document_->findBlockByNumber(line).text();
  r.named = basic::lineLabel(now, line);
  if (r.showsLine) {
    r.text = now;
  }
  return QStringLiteral("%1: %2").arg(r.named, r.text);
}

int ResultRows::lineOf(int row) const {
  const int mark = rows_[static_cast<size_t>(row)].mark;
  return mark < 0 ? -1 : marks_->lineOf(mark);
}

int ResultRows::positionOf(int row) const {
  const int mark = rows_[static_cast<size_t>(row)].mark;
  return mark < 0 ? -1 : marks_->positionOf(mark);
}

const std::optional<basic::LineNumber> &ResultRows::numberOf(int row) const {
  return rows_[static_cast<size_t>(row)].number;
}

} // namespace kavrin
