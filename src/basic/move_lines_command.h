#pragma once

#include "widgets/window_feature.h"

namespace kavrin {
class MoveLinesDialog;
} // namespace kavrin

namespace kavrin::basic {

// 行の移動: the program lines that the selection touches take new numbers
// and their place in number order, as one undo step, and stay selected.
class MoveLinesCommand : public WindowFeature {
  Q_OBJECT

public:
  explicit MoveLinesCommand(const FeatureContext &context);

  void moveSelectedLines();

private:
  MoveLinesDialog *dialog_ = nullptr;
};

} // namespace kavrin::basic
