#pragma once

#include "widgets/window_feature.h"

namespace kavrin {
enum class ResultTab;
class JumpHistory;
} // namespace kavrin

namespace kavrin::basic {

// Following a program's jumps: to the line a reference names, the list of
// the lines that refer to the caret's line, and back and forth between the
// places jumped from.
class JumpCommands : public WindowFeature {
  Q_OBJECT

public:
  JumpCommands(const FeatureContext &context, JumpHistory &history);

  void jumpToReference();
  // Lists the lines referring to the caret's line in the panel's 参照 tab.
  void showReferences();

private:
  void goBack();
  void goForward();
  void updateTravel();

  JumpHistory &history_;
  QAction *back_;
  QAction *forward_;
};

} // namespace kavrin::basic
