#include "settings/settings_store.h"

#include "logic/recent_files.h"
#include "platform/error.h"
#include "platform/profile.h"
#include "platform/user_interface.h"
#include "widgets/window_feature.h"

#include <utility>

namespace kavrin {
namespace {

SettingValues settingsOf(const QList<WindowFeature *> &features) {
  SettingValues values;
  for (const WindowFeature *feature : features) {
    feature->writeSettings(values);
  }
  return values;
}

} // namespace

SettingsStore::SettingsStore(QString iniFile, UserInterface &ui, QWidget *owner)
    : iniFile_(std::move(iniFile)), ui_(ui), owner_(owner) {}

void SettingsStore::load(const QList<WindowFeature *> &features) {
  Profile ini;
  try {
    ini = Profile::load(iniFile_);
  } catch (const Error &e) {
    // Written over, the file would keep only the keys known here, at their
    // defaults: the user's own settings would be gone for good.
    leftAlone_ = true;
    showMessage(ui_, owner_,
                QStringLiteral("設定を読み込めませんでした。既定の設定で起動します。\n"
                               "設定ファイルはそのまま残し、今回の設定の変更は保存しません。\n") +
                    e.message());
  }
  const SettingValues values = SettingValues::read(ini);
  for (WindowFeature *feature : features) {
    feature->readSettings(values);
  }
  kept_ = settingsOf(features);
}

void SettingsStore::save(const QList<WindowFeature *> &features) {
  if (leftAlone_) {
    return;
  }
  const SettingValues values = settingsOf(features);
  try {
    // Read now, as another editor may have written it since.  Every key
    // goes into the file in one replace, so that an interrupted write
    // leaves the previous file whole.
    Profile ini = Profile::load(iniFile_);
    const QByteArray before = ini.bytes();
    // Merged key by key, two editors' recent lists would interleave.
    SettingValues written = values;
    SettingValues since = kept_;
    mergeRecent(written, since, SettingValues::read(ini));
    written.write(ini, since);
    if (ini.bytes() != before) {
      ini.save(iniFile_);
    }
    kept_ = values;
    failureTold_ = false;
  } catch (const Error &e) {
    // Nothing is held up, but nobody is left thinking the settings were
    // kept; one box is enough until a write succeeds again.
    if (!std::exchange(failureTold_, true)) {
      showMessage(ui_, owner_,
                  QStringLiteral("設定を保存できませんでした。今回の設定の変更は失われます。\n") +
                      e.message());
    }
  }
}

} // namespace kavrin
