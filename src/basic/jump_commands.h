#pragma once

#include "widgets/window_feature.h"

namespace kavrin {
class JumpHistory;
class LineListWindow;
} // namespace kavrin

namespace kavrin::basic {

// Following a program's jumps: to the line a reference names, the list of
// the lines that refer to the caret's line, and back and forth between the
// places jumped from.
class JumpCommands : public WindowFeature {
  Q_OBJECT

public:
  JumpCommands(const FeatureContext &context, JumpHistory &history);

  LineListWindow *referenceWindow() const { return references_; }

  void jumpToReference();
  void showReferences();

private:
  void showReferrer(int row);
  void goBack();
  void goForward();
  void updateTravel();

  JumpHistory &history_;
  QAction *back_;
  QAction *forward_;
  LineListWindow *references_ = nullptr;
};

} // namespace kavrin::basic
