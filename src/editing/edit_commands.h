#pragma once

#include "widgets/window_feature.h"

namespace kavrin {

// Edit > undo, redo, cut, copy, paste, select all.  Undo and redo are
// offered while there is something to take back or bring back, cut and copy
// while text is selected, paste while the clipboard holds text.
class EditCommands : public WindowFeature {
  Q_OBJECT

public:
  explicit EditCommands(const FeatureContext &context);

  void started() override;

private:
  void updateSelectionItems();
  void updatePasteItem();
  // やり直し is offered only with something to redo; 元に戻す always is.
  void updateHistoryItems();

  QAction *undo_;
  QAction *redo_;
  QAction *cut_;
  QAction *copy_;
  QAction *paste_;
};

} // namespace kavrin
