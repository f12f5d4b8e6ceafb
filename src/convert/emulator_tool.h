#pragma once

#include "app/window_feature.h"

namespace kavrin {

class EmulatorDialog;

// Special > エミュレータで実行: converts as the convert command does and
// starts the configured emulator on the new tape image.
class EmulatorTool : public WindowFeature {
  Q_OBJECT

public:
  explicit EmulatorTool(const WindowParts &parts);

  QAction *runItem() const { return run_; }
  QAction *settingsItem() const { return settings_; }
  const QString &command() const { return command_; }

  void readSettings(const SettingValues &values) override;
  void writeSettings(SettingValues &values) const override;

  void RunClick();
  // True when the user confirmed a command line.
  bool SettingsClick();

private:
  void browse();
  void start(const QString &image);
  void cannotStart(const QString &why);

  QWidget *window_;
  UserInterface &ui_;
  std::function<QString()> convert_;
  const QString &exeDir_;
  QAction *run_;
  QAction *settings_;
  EmulatorDialog *dialog_ = nullptr;
  QString command_;
};

} // namespace kavrin
