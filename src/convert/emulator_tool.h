#pragma once

#include "widgets/window_feature.h"

namespace kavrin {

class ConvertCommand;
class EmulatorDialog;

// Special > エミュレータで実行: converts as the convert command does and
// starts the configured emulator on the new tape image.
class EmulatorTool : public WindowFeature {
  Q_OBJECT

public:
  EmulatorTool(const FeatureContext &context, ConvertCommand &convert);

  const QString &command() const { return command_; }

  void readSettings(const SettingValues &values) override;
  void writeSettings(SettingValues &values) const override;

  void run();
  // True when the user confirmed a command line.
  bool editSettings();

private:
  void browse();
  void start(const QString &image);
  void cannotStart(const QString &why);

  ConvertCommand &convert_;
  EmulatorDialog *dialog_ = nullptr;
  QString command_;
};

} // namespace kavrin
