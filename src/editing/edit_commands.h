#pragma once

#include "widgets/window_feature.h"

namespace kavrin {

// Edit > undo, cut, copy, paste, select all.  Cut and copy are offered
// while text is selected, paste while the clipboard holds text.
class EditCommands : public WindowFeature {
  Q_OBJECT

public:
  explicit EditCommands(const FeatureContext &context);

  void started() override;

private:
  void updateSelectionItems();
  void updatePasteItem();

  QAction *cut_;
  QAction *copy_;
  QAction *paste_;
};

} // namespace kavrin
