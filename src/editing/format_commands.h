#pragma once

#include "platform/user_interface.h"
#include "widgets/window_feature.h"

namespace kavrin {

// Format > wrap at the right edge, font, background colour: how the editor
// shows the text; and the keys that zoom the text.
class FormatCommands : public WindowFeature {
  Q_OBJECT

public:
  explicit FormatCommands(const FeatureContext &context);

  void readSettings(const SettingValues &values) override;
  void writeSettings(SettingValues &values) const override;

  void chooseFont();
  void chooseBackground();

private:
  void applyWordWrap();
  void addZoomKeys();
  void keepTextReadable();

  QAction *wrap_;
  FontChoice fontDialog_;
  TColor colorDialog_ = clWindow;
  // The editor's font name as the settings file gave it.
  QString fontName_;
};

} // namespace kavrin
