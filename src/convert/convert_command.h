#pragma once

#include "widgets/window_feature.h"

namespace kavrin {

struct ConverterCommand;

// Special > 変換: runs the configured converter on the saved program to
// make a tape image, and reports how it ended.
class ConvertCommand : public WindowFeature {
  Q_OBJECT

public:
  explicit ConvertCommand(const FeatureContext &context);

  // The tape image path when the converter succeeded, else empty.
  QString convertProgram();
  // True when the converter ended with success.
  bool runConverter(const ConverterCommand &command);

  // The window stays while a converter runs.
  bool busy() const override { return converting_; }

private:
  void convert() { convertProgram(); }

  bool converting_ = false;
};

} // namespace kavrin
