#include "settings/settings_store.h"

#include "logic/settings_table.h"
#include "platform/error.h"
#include "platform/profile.h"
#include "platform/user_interface.h"
#include "widgets/window_feature.h"

namespace kavrin {

SettingsStore::SettingsStore(QString iniFile, UserInterface &ui, QWidget *owner)
    : iniFile_(std::move(iniFile)), ui_(ui), owner_(owner) {}

void SettingsStore::load(const QList<WindowFeature *> &features) const {
  const SettingValues values = SettingValues::read(Profile::load(iniFile_));
  for (WindowFeature *feature : features) {
    feature->readSettings(values);
  }
}

void SettingsStore::save(const QList<WindowFeature *> &features) const {
  SettingValues values;
  for (const WindowFeature *feature : features) {
    feature->writeSettings(values);
  }
  // Every key goes into the file in one replace, so that an interrupted
  // close leaves the previous file whole.
  Profile ini = Profile::load(iniFile_);
  values.write(ini);
  try {
    ini.save(iniFile_);
  } catch (const Error &e) {
    // It does not hold up the close, but nobody is left thinking they were kept.
    showMessage(ui_, owner_,
                QStringLiteral("設定を保存できませんでした。今回の設定の変更は失われます。\n") + e.message());
  }
}

} // namespace kavrin
