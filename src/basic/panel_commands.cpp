#include "basic/panel_commands.h"

#include "logic/basic_reader.h"
#include "logic/settings_table.h"
#include "platform/user_interface.h"
#include "widgets/jump_history.h"
#include "widgets/panel_host.h"
#include "widgets/program_editor.h"
#include "widgets/result_panel.h"

#include <QAction>
#include <QMainWindow>
#include <QResizeEvent>
#include <QTextBlock>

#include <array>

namespace kavrin::basic {
namespace {

// Rows are ordered by where their line starts, then by row.  From the
// current row when the caret is on its line, so that every row of a line is
// visited; else from the caret's line [lineStart, lineEnd), which counts
// as passed only while the current row names a line (that line was left).
int pickRow(const std::vector<int> &at, int current, int lineStart, int lineEnd, bool forward) {
  const auto before = [&at](int a, int b) { return at[a] < at[b] || (at[a] == at[b] && a < b); };
  const bool onLine = current >= 0 && at[current] >= 0;
  const bool fromCurrent = onLine && at[current] >= lineStart && at[current] < lineEnd;
  const int from = forward ? (onLine ? lineEnd : lineStart) : (onLine ? lineStart : lineEnd);
  int best = -1;
  for (int row = 0; row < static_cast<int>(at.size()); ++row) {
    if (at[row] < 0) {
      continue;
    }
    const bool beyond = fromCurrent ? (forward ? before(current, row) : before(row, current))
                                    : (forward ? at[row] >= from : at[row] < from);
    if (beyond && (best < 0 || (forward ? before(row, best) : before(best, row)))) {
      best = row;
    }
  }
  return best;
}

} // namespace

PanelCommands::PanelCommands(const FeatureContext &context, JumpHistory &history)
    : WindowFeature(context), history_(history) {
  shown_ = addItem("resultPanel", QStringLiteral("結果パネル(&P)"), Qt::CTRL | Qt::Key_J);
  shown_->setCheckable(true);
  connectGuarded(shown_, [this] { toggle(shown_->isChecked()); });
  addCommand("nextResult", QStringLiteral("次の結果へ(&X)"), &PanelCommands::nextResult, Qt::Key_F8);
  addCommand("previousResult", QStringLiteral("前の結果へ(&V)"), &PanelCommands::previousResult,
             Qt::SHIFT | Qt::Key_F8);
  connect(&panels(), &PanelHost::created, this, &PanelCommands::attach);
}

void PanelCommands::readSettings(const SettingValues &values) {
  tab_ = std::clamp(values.number(Setting::PanelTab), 0, kResultTabCount - 1);
  height_ = std::max(values.number(Setting::PanelHeight), 0);
  if (values.number(Setting::PanelShown) != 0) {
    shown_->setChecked(true);
    panels().panel()->showTab(static_cast<ResultTab>(tab_));
  }
}

void PanelCommands::writeSettings(SettingValues &values) const {
  values.set(Setting::PanelShown, shown_->isChecked() ? 1 : 0);
  values.set(Setting::PanelHeight, height_);
  values.set(Setting::PanelTab, tab_);
}

void PanelCommands::toggle(bool shown) {
  if (shown) {
    // The tab last chosen: a panel made by a conversion that showed nothing
    // still stands on its first tab.
    panels().panel()->showTab(static_cast<ResultTab>(tab_));
  } else if (panels().existing() != nullptr) {
    panels().existing()->hide();
  }
  settingChanged();
}

void PanelCommands::attach(ResultPanel *panel) {
  connect(panel, &ResultPanel::visibilityChanged, this, &PanelCommands::visibilityChanged);
  connect(panel, &ResultPanel::tabChanged, this, [this](ResultTab tab) {
    if (static_cast<int>(tab) != tab_) {
      tab_ = static_cast<int>(tab);
      settingChanged();
    }
  });
  connect(panel, &ResultPanel::rowActivated, this,
          [this](ResultTab tab, int row) { guard([&] { activated(tab, row); }); });
  panel->installEventFilter(this);
}

void PanelCommands::visibilityChanged(bool visible) {
  const bool shown = visible || !panels().existing()->isHidden();
  if (shown != shown_->isChecked()) {
    shown_->setChecked(shown);
    settingChanged();
  }
  if (visible && !heightApplied_) {
    heightApplied_ = true;
    if (height_ > 0) {
      // Once the window has laid the panel out.
      QMetaObject::invokeMethod(
          this, [this] { mainWindow()->resizeDocks({panels().existing()}, {height_}, Qt::Vertical); },
          Qt::QueuedConnection);
    }
  }
}

bool PanelCommands::eventFilter(QObject *watched, QEvent *event) {
  // A height other than the first one the window laid out is the user's;
  // like the window's own size, it is written at the close.
  if (event->type() == QEvent::Resize && watched == panels().existing()) {
    const auto &resize = static_cast<const QResizeEvent &>(*event);
    if (resize.oldSize().height() > 0 && resize.oldSize().height() != resize.size().height()) {
      height_ = resize.size().height();
    }
  }
  return WindowFeature::eventFilter(watched, event);
}

void PanelCommands::nextResult() { step(true); }

void PanelCommands::previousResult() { step(false); }

void PanelCommands::step(bool forward) {
  ResultPanel *panel = panels().existing();
  if (panel == nullptr || panel->isHidden()) {
    ui().beep();
    return;
  }
  const ResultTab tab = panel->visibleTab();
  const QTextBlock caret = editor()->textCursor().block();
  const int row = pickRow(rowPositions(*panel, tab), panel->currentRow(tab), caret.position(),
                          caret.position() + caret.length(), forward);
  if (row < 0) {
    ui().beep();
    return;
  }
  panel->setCurrentRow(tab, row);
  goToRow(tab, row);
}

std::vector<int> PanelCommands::rowPositions(const ResultPanel &panel, ResultTab tab) const {
  const ResultRows &rows = panel.rows(tab);
  std::vector<int> at(static_cast<std::size_t>(rows.rowCount()));
  for (int row = 0; row < rows.rowCount(); ++row) {
    at[static_cast<std::size_t>(row)] = rows.positionOf(row);
  }
  return at;
}

bool PanelCommands::goToRow(ResultTab tab, int row) {
  const ResultRows &rows = panels().existing()->rows(tab);
  const int line = rows.lineOf(row);
  if (line < 0) {
    return false;
  }
  history_.remember();
  editor()->selectLine(line, true);
  if (!rows.exactOf(row)) {
    ui().beep();
  }
  return true;
}

void PanelCommands::activated(ResultTab tab, int row) {
  // What a row whose line was deleted says, by tab.
  static const std::array<const char16_t *, kResultTabCount> kDeleted{u"この指摘の行は削除されました。",
                                                                      u"この参照の行は削除されました。",
                                                                      u"この出力の行は削除されました。"};
  const ResultRows &rows = panels().existing()->rows(tab);
  const std::optional<LineNumber> &number = rows.numberOf(row);
  if (!rows.followsLine(row) && !number) {
    return; // a row that names no line
  }
  if (!goToRow(tab, row)) {
    message(rows.followsLine(row) ? QString::fromUtf16(kDeleted[static_cast<std::size_t>(tab)])
                                  : QStringLiteral("行 %1 はありません").arg(number->toString()));
    return;
  }
  editor()->setFocus(); // to work on the line
}

QMainWindow *PanelCommands::mainWindow() const { return qobject_cast<QMainWindow *>(window()); }

} // namespace kavrin::basic
