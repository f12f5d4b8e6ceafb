#pragma once

#include "widgets/window_feature.h"

namespace kavrin {

// The Help menu: what this program is, and the Qt it runs on.
class HelpCommands : public WindowFeature {
  Q_OBJECT

public:
  explicit HelpCommands(const FeatureContext &context);

  // The version box's text: name and version, licence, Qt, and where this
  // machine keeps the settings and the recovery copies.
  QString aboutText() const;

private:
  void showAbout();
  void showAboutQt();
};

} // namespace kavrin
