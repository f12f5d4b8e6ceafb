#pragma once

#include "widgets/window_feature.h"

namespace kavrin {

// Edit > undo, redo, cut, copy, paste, select all.  Undo is always offered,
// redo while there is something to bring back, cut and copy while text is
// selected, paste while the clipboard held text when last asked: not at
// start-up, but whenever the clipboard changes or the menu opens.
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

  QAction *redo_;
  QAction *cut_;
  QAction *copy_;
  QAction *paste_;
};

} // namespace kavrin
