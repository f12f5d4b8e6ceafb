#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace kavrin {

class RichEdit;
class SettingValues;
class UserInterface;

// What the main window lends a feature: the editor, the user-interface
// services, the menus that take its items and the state it follows.
struct WindowParts {
  QWidget *window;
  RichEdit *editor;
  UserInterface &ui;
  QMenu *edit;
  // Edit-menu items go after this one.
  QAction *editAnchor;
  QMenu *format;
  QMenu *special;
  // Special-menu items of the emulator go after this one.
  QAction *convertItem;
  // The BASIC mode items; each is triggered after the window has switched
  // the mode.
  QActionGroup *modes;
  // Triggered after the window has changed the editor's background.
  QAction *background;
  // The current mode's keyword list.
  const QStringList &keywords;
  // The program's own folder, where bare program names are looked up first.
  const QString &exeDir;
  // Converts as Special > 変換 does; the tape image path when the converter
  // succeeded, else empty.
  std::function<QString()> convert;
  // The document's path, empty for a new one.
  const QString &fileName;
  // Where recovery copies are kept.
  QString stateDir;
  // Takes a recovered text into the window as a modified document.
  std::function<void(const QString &fileName, const QString &text)> restore;
};

// A command set of its own beside the window's: it owns its menu items and
// dialogs, and keeps settings that the window stores for it.
class WindowFeature : public QObject {
  Q_OBJECT

public:
  using QObject::QObject;

  // A feature with settings of its own reads and writes them here.
  virtual void readSettings(const SettingValues & /*values*/) {}
  virtual void writeSettings(SettingValues & /*values*/) const {}
  // The window is built and its settings read; the file named on the
  // command line comes next.
  virtual void started() {}
  // The user has decided about any unsaved text, and the window closes.
  virtual void closing() {}
  // The document's text has been written to its file.
  virtual void documentSaved() {}
};

} // namespace kavrin
