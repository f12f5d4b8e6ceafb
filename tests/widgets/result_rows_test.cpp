#include "widgets/result_rows.h"

#include <QSortFilterProxyModel>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace kavrin {
namespace {

TEST(ResultRowsTest, AppendedRowsPastTheCapDropTheOldestAndSaySo) {
  const struct {
    QStringList appended; // one append a row
    QString rows;
  } cases[] = {
      {{"ab"}, "a b"},
      {{"abc"}, "a b c"},
      {{"ab", "cd"}, "(以前の 2 行は省略しました) c d"},
      {{"ab", "cd", "e"}, "(以前の 3 行は省略しました) d e"},
      {{"abcdefg"}, "(以前の 5 行は省略しました) f g"},
  };
  QTextDocument document;
  for (const auto &c : cases) {
    SCOPED_TRACE(c.rows.toStdString());
    ResultRows rows(&document, nullptr);
    // Read as a list view reads them: through what the model tells of its changes.
    QSortFilterProxyModel shown;
    shown.setSourceModel(&rows);
    for (const QString &append : c.appended) {
      QList<ResultRow> added;
      for (const QChar letter : append) {
        added.push_back({letter, -1, std::nullopt});
      }
      rows.append(added, 3);
    }
    QStringList labels;
    for (int row = 0; row < shown.rowCount(); ++row) {
      labels.push_back(shown.index(row, 0).data().toString());
    }
    EXPECT_EQ(labels.join(u' '), c.rows);
  }
}

} // namespace
} // namespace kavrin
