#pragma once

#include "widgets/result_rows.h"

#include <QDockWidget>

#include <array>

class QLabel;
class QListView;
class QTabWidget;

namespace kavrin {

class ProgramEditor;

// The tabs of the result panel, in their order.
enum class ResultTab { Check, References, Output };
inline constexpr int kResultTabCount = 3;

// The panel docked under the editor: the program check's findings, the
// lines referring to a line, and the converter's output, one tab each.
// Each tab is a summary (hidden when empty) over a list of rows; a row may
// follow a line of the document or name a BASIC line number.
//
// Enter or a double-click on a row tells rowActivated; PanelCommands takes
// every tab's rows to their lines (output rows as Ctrl+G goes), and F8
// walks the visible tab.  Esc in a tab gives the focus back to the editor;
// Ctrl+C copies the selected rows' labels, one a line.
//
// A feature reaches it through PanelHost (made on first use).  The
// converter's output, for example: append(ResultTab::Output, rows) with a
// row per whole output line (`number` set where the line names a BASIC
// line), then showTab(ResultTab::Output).
class ResultPanel : public QDockWidget {
  Q_OBJECT

public:
  // Rows the output tab keeps: past them the oldest go, and a first row
  // tells how many went.
  static constexpr int kMostOutputRows = 20000;

  ResultPanel(QWidget *parent, ProgramEditor *editor);

  // Replaces the tab's rows and summary, keeping the current row's place
  // where it can (a re-run of the check does not move the user's row).
  void present(ResultTab tab, const QList<ResultRow> &rows, const QString &summary);
  // Replaces the tab's summary, shown unless empty.
  void setSummary(ResultTab tab, const QString &summary);
  // Adds rows at the end of the tab (the converter's output, as it comes).
  // The feeder passes whole lines: a piece of output that ends mid-line
  // waits for its end (or the end of the run) before it becomes a row.
  void append(ResultTab tab, const QList<ResultRow> &rows);
  // The rows of the tab point to no line any more (an older run's output).
  void unlinkRows(ResultTab tab);
  // Shows the panel on that tab, without taking the focus.
  void showTab(ResultTab tab);
  // Shows the tab with `row` current and selected, and its list focused.
  void focusRow(ResultTab tab, int row);
  // Makes `row` current and selected, where the focus is.
  void setCurrentRow(ResultTab tab, int row);

  ResultTab visibleTab() const;
  int currentRow(ResultTab tab) const;
  const ResultRows &rows(ResultTab tab) const { return *models_[index(tab)]; }
  QListView *view(ResultTab tab) const { return views_[index(tab)]; }
  QString summary(ResultTab tab) const;

signals:
  // Enter or a double-click on the row.
  void rowActivated(ResultTab tab, int row);
  // The user chose another tab.
  void tabChanged(ResultTab tab);

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  static std::size_t index(ResultTab tab) { return static_cast<std::size_t>(tab); }
  // The row of `rows` to make current in place of `current` of `model`.
  static int keptRow(const ResultRows &model, int current, const QList<ResultRow> &rows);
  QWidget *makeTab(ResultTab tab);
  void copyRows(const QListView &view) const;

  ProgramEditor *editor_;
  QTabWidget *tabs_;
  std::array<ResultRows *, kResultTabCount> models_{};
  std::array<QListView *, kResultTabCount> views_{};
  std::array<QLabel *, kResultTabCount> summaries_{};
};

} // namespace kavrin
