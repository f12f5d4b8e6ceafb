#include "widgets/result_panel.h"

#include "widgets/program_editor.h"

#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace kavrin {
namespace {

const char16_t *const kCaptions[kResultTabCount] = {u"検査", u"参照", u"変換の出力"};

// A few rows high at first, leaving the editor most of the window.
class RowList : public QListView {
public:
  using QListView::QListView;
  QSize sizeHint() const override { return {QListView::sizeHint().width(), fontMetrics().height() * 4}; }

protected:
  // A row made current by a command (no event) is the only one selected and
  // the start of a Shift range: the view would read Ctrl, still down from
  // Ctrl+F5 or Ctrl+., as a click adding the row to the selection.
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                       const QEvent *event) const override {
    return event == nullptr ? QItemSelectionModel::ClearAndSelect : QListView::selectionCommand(index, event);
  }
};

// The output tab's rows fit the panel's width: a long command line keeps
// its start and its end, the tape image, and is cut in the middle; a row
// cut so tells all of itself as a tip (Ctrl+C copies it whole).
class FittedRows : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
    return {0, QStyledItemDelegate::sizeHint(option, index).height()};
  }

  bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                 const QModelIndex &index) override {
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const QStyle *style = view->style();
    const int margins = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    const int room = style->subElementRect(QStyle::SE_ItemViewItemText, &item, view).width() - margins;
    if (event->type() != QEvent::ToolTip || item.fontMetrics.horizontalAdvance(item.text) <= room) {
      return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    QToolTip::showText(event->globalPos(), item.text, view);
    return true;
  }
};

bool isEscape(const QKeyEvent &key) {
  return key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier;
}

} // namespace

ResultPanel::ResultPanel(QWidget *parent, ProgramEditor *editor)
    : QDockWidget(QStringLiteral("結果"), parent), editor_(editor), tabs_(new QTabWidget(this)) {
  setObjectName(QStringLiteral("resultPanelDock"));
  setFeatures(QDockWidget::DockWidgetClosable);
  setAllowedAreas(Qt::BottomDockWidgetArea);
  for (int i = 0; i < kResultTabCount; ++i) {
    tabs_->addTab(makeTab(static_cast<ResultTab>(i)), QString::fromUtf16(kCaptions[i]));
  }
  setWidget(tabs_);
  tabs_->tabBar()->installEventFilter(this); // Esc there too
  connect(tabs_, &QTabWidget::currentChanged, this,
          [this](int i) { emit tabChanged(static_cast<ResultTab>(i)); });
  // Labels name the lines as they are now: an edit repaints what is shown.
  connect(editor_->document(), &QTextDocument::contentsChanged, this, [this] {
    if (isVisible()) {
      views_[index(visibleTab())]->viewport()->update();
    }
  });
}

QWidget *ResultPanel::makeTab(ResultTab tab) {
  auto *page = new QWidget(this);
  auto *layout = new QVBoxLayout(page);
  auto *summary = new QLabel(page);
  summary->hide();
  QListView *view = new RowList(page);
  auto *model = new ResultRows(editor_->document(), this);
  view->setModel(model);
  view->setUniformItemSizes(true);
  // A finding's icon no taller than its text: rows keep their height.
  const int iconSide = view->fontMetrics().height();
  view->setIconSize(QSize(iconSide, iconSide));
  view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view->installEventFilter(this);
  if (tab == ResultTab::References) {
    model->keepInTextOrder();
  }
  if (tab == ResultTab::Output) {
    view->setItemDelegate(new FittedRows(view));
    view->setTextElideMode(Qt::ElideMiddle);
  }
  connect(view, &QListView::activated, this,
          [this, tab](const QModelIndex &i) { emit rowActivated(tab, i.row()); });
  layout->addWidget(summary);
  layout->addWidget(view, 1);
  summaries_[index(tab)] = summary;
  views_[index(tab)] = view;
  models_[index(tab)] = model;
  return page;
}

void ResultPanel::present(ResultTab tab, const QList<ResultRow> &rows, const QString &summary) {
  QListView *view = views_[index(tab)];
  ResultRows &model = *models_[index(tab)];
  const int row = keptRow(model, view->currentIndex().row(), rows);
  model.replace(rows);
  if (row >= 0) {
    view->setCurrentIndex(model.index(row));
  }
  setSummary(tab, summary);
}

void ResultPanel::setSummary(ResultTab tab, const QString &summary) {
  summaries_[index(tab)]->setText(summary);
  summaries_[index(tab)]->setVisible(!summary.isEmpty());
}

int ResultPanel::keptRow(const ResultRows &model, int current, const QList<ResultRow> &rows) {
  const int last = static_cast<int>(rows.size()) - 1;
  const int currentLine = current >= 0 ? model.lineOf(current) : -1;
  if (currentLine < 0) {
    return std::min(current, last);
  }
  // The current row stays on its line, or goes to the next line listed ...
  const auto at = std::find_if(rows.begin(), rows.end(),
                               [currentLine](const ResultRow &r) { return r.line >= currentLine; });
  if (at == rows.end()) {
    return last;
  }
  const int row = static_cast<int>(at - rows.begin());
  // ... and among rows on that line, it is the same one by its place.
  int sameBefore = 0;
  while (sameBefore < current && model.lineOf(current - sameBefore - 1) == currentLine) {
    ++sameBefore;
  }
  return row + sameBefore <= last && rows[row + sameBefore].line == currentLine ? row + sameBefore : row;
}

void ResultPanel::append(ResultTab tab, const QList<ResultRow> &rows) {
  // A list scrolled to its end stays there, so that new output shows.
  const QScrollBar *bar = views_[index(tab)]->verticalScrollBar();
  const bool atEnd = bar->value() == bar->maximum();
  models_[index(tab)]->append(rows, kMostOutputRows);
  if (atEnd) {
    views_[index(tab)]->scrollToBottom();
  }
}

void ResultPanel::unlinkRows(ResultTab tab) { models_[index(tab)]->unlink(); }

void ResultPanel::showTab(ResultTab tab) {
  show();
  raise();
  tabs_->setCurrentIndex(static_cast<int>(tab));
}

void ResultPanel::focusRow(ResultTab tab, int row) {
  showTab(tab);
  setCurrentRow(tab, row);
  views_[index(tab)]->setFocus();
}

void ResultPanel::setCurrentRow(ResultTab tab, int row) {
  QListView *view = views_[index(tab)];
  view->setCurrentIndex(models_[index(tab)]->index(row));
  view->scrollTo(view->currentIndex());
}

ResultTab ResultPanel::visibleTab() const { return static_cast<ResultTab>(tabs_->currentIndex()); }

int ResultPanel::currentRow(ResultTab tab) const { return views_[index(tab)]->currentIndex().row(); }

QString ResultPanel::summary(ResultTab tab) const { return summaries_[index(tab)]->text(); }

bool ResultPanel::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) {
    return QDockWidget::eventFilter(watched, event);
  }
  const auto *view = qobject_cast<QListView *>(watched);
  const auto &key = static_cast<const QKeyEvent &>(*event);
  const bool copy = view != nullptr && key.matches(QKeySequence::Copy);
  if (!copy && !isEscape(key)) {
    return false;
  }
  // The list takes these keys before the menu's Ctrl+C does.
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
  if (copy) {
    copyRows(*view);
  } else {
    editor_->setFocus();
  }
  return true;
}

void ResultPanel::copyRows(const QListView &view) const {
  QModelIndexList selected = view.selectionModel()->selectedRows();
  if (selected.isEmpty()) {
    return; // nothing to copy: what the clipboard holds stays
  }
  std::sort(selected.begin(), selected.end(),
            [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
  QStringList texts;
  for (const QModelIndex &i : selected) {
    texts.push_back(i.data().toString());
  }
  QApplication::clipboard()->setText(texts.join(u'\n'));
}

} // namespace kavrin
