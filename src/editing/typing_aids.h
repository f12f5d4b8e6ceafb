#pragma once

#include "logic/completion.h"
#include "widgets/window_feature.h"

class QKeyEvent;

namespace kavrin {

// What helps a user type BASIC lines: TAB completion of keywords, the BASIC
// mode whose keywords it offers (Special > モード), the function-key texts
// with their legend in the status bar, AUTO line numbers on RETURN, and
// insert or overwrite.
class TypingAids : public WindowFeature {
  Q_OBJECT

public:
  explicit TypingAids(const FeatureContext &context);

  void readSettings(const SettingValues &values) override;
  void writeSettings(SettingValues &values) const override;

  bool autoNumbering() const;
  bool inserting() const { return inserting_; }
  CompletionState &completion() { return completion_; }

  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  // Checks the mode's item, loads its keyword list and ends any completion
  // cycle.
  void selectMode(int mode);
  // Sees the editor's key presses before the editor does; true takes the key.
  bool keyPressed(const QKeyEvent &key);
  bool completeAlready() const;
  // The editor's keys that no menu item and no completion took.
  void keyDown(int key, Qt::KeyboardModifiers modifiers);
  void updateLegend();
  // True when a window shortcut that can act now is bound to the key.
  bool isMenuShortcut(const QKeyEvent &key) const;

  QAction *auto_;
  QAction *mode5_;
  QAction *mode6_;
  CompletionState completion_;
  // The labels a completion cycle in a source document goes through.
  QStringList labels_;
  bool inserting_ = true;
  bool shiftDown_ = false;
};

} // namespace kavrin
