#pragma once

#include "widgets/window_feature.h"

#include <vector>

class QMainWindow;

namespace kavrin {
enum class ResultTab;
class JumpHistory;
class ResultPanel;
} // namespace kavrin

namespace kavrin::basic {

// The result panel's commands: showing and hiding it (Ctrl+J), the next
// and previous row that names a line (F8, Shift+F8), going to the line an
// output row names, and the panel's kept state: shown, height and tab.
class PanelCommands : public WindowFeature {
  Q_OBJECT

public:
  PanelCommands(const FeatureContext &context, JumpHistory &history);

  void readSettings(const SettingValues &values) override;
  void writeSettings(SettingValues &values) const override;

  void nextResult();
  void previousResult();

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void toggle(bool shown);
  void attach(ResultPanel *panel);
  void visibilityChanged(bool visible);
  // Goes to the next row (or previous) of the visible tab that names a line,
  // counting from the caret; a beep at the end.
  void step(bool forward);
  // Where the line each row names starts now, -1 for none.
  std::vector<int> rowPositions(const ResultPanel &panel, ResultTab tab) const;
  // Goes to the row's line; false, with nothing moved, when there is none.
  bool goToRow(ResultTab tab, int row);
  // Enter or a double-click on a row of any tab: its line, or why not.
  void activated(ResultTab tab, int row);
  QMainWindow *mainWindow() const;

  JumpHistory &history_;
  QAction *shown_;
  int tab_ = 0;
  // The height the user gave the panel; 0 for what the window gives it.
  int height_ = 0;
  bool heightApplied_ = false;
};

} // namespace kavrin::basic
