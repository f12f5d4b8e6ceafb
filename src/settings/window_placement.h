#pragma once

#include "widgets/window_feature.h"

#include <QRect>
#include <QSize>

namespace kavrin {

// The window's place and size, frame included, as the settings keep them.
// The frame is known only once the window system has shown the window, so
// until then the size set waits.
class WindowPlacement : public WindowFeature {
  Q_OBJECT

public:
  explicit WindowPlacement(const FeatureContext &context);

  void readSettings(const SettingValues &values) override;
  void writeSettings(SettingValues &values) const override;

  // Sets the outer rectangle as far as the window system tells the frame.
  void setOuterGeometry(const QRect &outer);
  // The outer rectangle, frame included, as far as the window system tells.
  QRect outerGeometry() const;
  // The window was shown, resized or moved: the frame may be known now.
  void frameMayBeKnown();

private:
  int outerWidth_ = 0;
  int outerHeight_ = 0;
  bool pending_ = false;
  // The size set for the window's inside.
  QSize client_;
};

} // namespace kavrin
