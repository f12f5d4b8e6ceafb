#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace kavrin {

class UserInterface;
class WindowFeature;

// The settings file: every feature reads its settings from it at start-up
// and writes them back at a close that goes ahead.
class SettingsStore {
public:
  SettingsStore(QString iniFile, UserInterface &ui, QWidget *owner);

  void load(const QList<WindowFeature *> &features) const;
  // A file that cannot be written is reported; the close goes on and the
  // old file stays as it was.
  void save(const QList<WindowFeature *> &features) const;

private:
  QString iniFile_;
  UserInterface &ui_;
  QWidget *owner_;
};

} // namespace kavrin
