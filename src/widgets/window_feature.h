#pragma once

#include <QKeySequence>
#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenuBar;
class QWidget;

namespace kavrin {

class PanelHost;
class PanelStatusBar;
class ProgramEditor;
class Session;
class SettingValues;
class UserInterface;

// What the main window lends a command set: its parts, the user-interface
// services, the state the sets share and the result panel.
struct FeatureContext {
  QWidget *window;
  ProgramEditor *editor;
  PanelStatusBar *statusBar;
  QMenuBar *menuBar;
  UserInterface &ui;
  Session &session;
  // The result panel, made on first use.
  PanelHost &panels;
};

// A command set of the window: it owns its menu items, dialogs, state and
// settings.  Its items are named; the window puts them in the menus.
class WindowFeature : public QObject {
  Q_OBJECT

public:
  explicit WindowFeature(const FeatureContext &context);

  // A feature with settings of its own reads and writes them here.
  virtual void readSettings(const SettingValues & /*values*/) {}
  virtual void writeSettings(SettingValues & /*values*/) const {}
  // The window is built and its settings read; the file named on the
  // command line comes next.
  virtual void started() {}
  // The user has decided about any unsaved text, and the window closes.
  virtual void closing() {}
  // True while a task runs that the window must not close under.
  virtual bool busy() const { return false; }

protected:
  // A menu item named `name`, its triggering guarded.
  template <class Feature>
  QAction *addCommand(const char *name, const QString &caption, void (Feature::*handler)(),
                      const QKeySequence &shortcut = {}) {
    QAction *item = addItem(name, caption, shortcut);
    connectGuarded(item, [this, handler] { (static_cast<Feature *>(this)->*handler)(); });
    return item;
  }
  // A menu item that the caller connects.
  QAction *addItem(const char *name, const QString &caption, const QKeySequence &shortcut = {});
  void connectGuarded(QAction *item, std::function<void()> handler);
  // Runs a command; an Error it raises is shown and ends only that command.
  void guard(const std::function<void()> &command);
  void message(const QString &text);
  // Tells that the user changed one of this feature's settings, so that they
  // are written before anything can lose them.
  void settingChanged();

  const FeatureContext &context() const { return context_; }
  QWidget *window() const { return context_.window; }
  ProgramEditor *editor() const { return context_.editor; }
  UserInterface &ui() const { return context_.ui; }
  Session &session() const { return context_.session; }
  PanelHost &panels() const { return context_.panels; }

private:
  FeatureContext context_;
};

} // namespace kavrin
