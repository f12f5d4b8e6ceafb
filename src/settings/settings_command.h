#pragma once

#include "widgets/window_feature.h"

namespace kavrin {

class SettingsDialog;

// Edit > 設定: the function-key texts, the AUTO increment and the converter,
// which the window's other commands read from the session.
class SettingsCommand : public WindowFeature {
  Q_OBJECT

public:
  explicit SettingsCommand(const FeatureContext &context);

  void readSettings(const SettingValues &values) override;
  void writeSettings(SettingValues &values) const override;

  void edit();

private:
  // Made on first use and kept: building it at start-up would cost a fifth
  // of the time to the first window.
  SettingsDialog *dialog_ = nullptr;
};

} // namespace kavrin
