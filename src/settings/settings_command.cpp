#include "settings/settings_command.h"

#include "logic/function_keys.h"
#include "logic/settings_table.h"
#include "platform/user_interface.h"
#include "widgets/session.h"
#include "widgets/settings_dialog.h"

namespace kavrin {

SettingsCommand::SettingsCommand(const FeatureContext &context) : WindowFeature(context) {
  addCommand("settings", QStringLiteral("設定(&O)..."), &SettingsCommand::edit);
}

void SettingsCommand::readSettings(const SettingValues &values) {
  Preferences preferences;
  for (int i = 0; i < 10; ++i) {
    preferences.functionKeys[i] = convertKeyText(unframeKeyText(values.text(functionKeySetting(i))), false);
  }
  preferences.autoIncrement = values.number(Setting::AutoAdd);
  preferences.converter = values.text(Setting::ConvProg);
  preferences.outputInPanelOnly = values.number(Setting::OutputInPanelOnly) != 0;
  preferences.outputLinePattern = values.text(Setting::OutputLinePattern);
  for (const basic::CheckRule rule : basic::kOptionalRules) {
    preferences.check.set(rule, values.number(checkSetting(rule)) != 0);
  }
  session().setPreferences(preferences);
}

void SettingsCommand::writeSettings(SettingValues &values) const {
  const Preferences &preferences = session().preferences();
  for (int i = 0; i < 10; ++i) {
    values.set(functionKeySetting(i), frameKeyText(convertKeyText(preferences.functionKeys[i], true)));
  }
  values.set(Setting::AutoAdd, preferences.autoIncrement);
  values.set(Setting::ConvProg, preferences.converter);
  values.set(Setting::OutputInPanelOnly, preferences.outputInPanelOnly ? 1 : 0);
  values.set(Setting::OutputLinePattern, preferences.outputLinePattern);
  for (const basic::CheckRule rule : basic::kOptionalRules) {
    values.set(checkSetting(rule), preferences.check.enabled(rule) ? 1 : 0);
  }
}

void SettingsCommand::edit() {
  if (dialog_ == nullptr) {
    dialog_ = new SettingsDialog(window(), ui());
  }
  dialog_->setValues(session().preferences());
  if (ui().execModal(*dialog_) == QDialog::Accepted) {
    session().setPreferences(dialog_->values());
    settingChanged();
  }
}

} // namespace kavrin
