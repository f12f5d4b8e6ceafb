#pragma once

#include "logic/settings_table.h"

#include <QList>
#include <QString>

class QWidget;

namespace kavrin {

class UserInterface;
class WindowFeature;

// The settings file: every feature reads its settings from it at start-up;
// they are written back whenever a setting changes and at a close that goes
// ahead.
class SettingsStore {
public:
  SettingsStore(QString iniFile, UserInterface &ui, QWidget *owner);

  // A missing file is a first start.  A file that is there but cannot be
  // read is reported once and left as it is: the features keep their
  // defaults and the file is never written while the program runs.
  void load(const QList<WindowFeature *> &features);
  // Writes the settings changed here since the file was last read or
  // written here into what the file holds now, keeping its other keys and
  // lines: another editor's choices stay.  A first write adds every key
  // always written; a file that already holds them is not touched.  A file
  // that cannot be written is reported once, and again only after a write
  // has succeeded since; the old file stays as it was and the program goes
  // on.
  void save(const QList<WindowFeature *> &features);

private:
  QString iniFile_;
  // The features' settings as last read or written.
  SettingValues kept_;
  UserInterface &ui_;
  QWidget *owner_;
  bool leftAlone_ = false;
  bool failureTold_ = false;
};

} // namespace kavrin
