#pragma once

#include "logic/settings_file.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>

namespace kavrin {

class DocumentCommands;
class PanelHost;
class PanelStatusBar;
class ProgramEditor;
class Session;
class SettingsStore;
class UserInterface;
class WindowFeature;
class WindowPlacement;

// The main window: it puts together the menu bar, the editor, the status bar
// and the command sets, which do the work.
class MainWindow : public QMainWindow {
  Q_OBJECT

public:
  // Builds the window and reads the settings; `args` are the command-line
  // arguments after the program name.  Throws Error when start-up fails.
  MainWindow(UserInterface &ui, const QStringList &args,
             const ProgramPaths &paths = ProgramPaths::ofThisProgram(), QWidget *parent = nullptr);
  ~MainWindow() override;

  ProgramEditor &editor() const { return *editor_; }
  PanelStatusBar &panels() const { return *statusBar_; }
  Session &session() const { return *session_; }
  // The menu item of that name.
  QAction *command(const char *name) const;
  // The command set of that class.
  template <class Feature> Feature *feature() const { return findChild<Feature *>(); }

  // The outer rectangle, frame included, as far as the window system tells.
  QRect outerGeometry() const;
  void setOuterGeometry(const QRect &outer);

signals:
  // Once, just after the window was first painted (or shown minimized): the
  // time for what that paint does not need.
  void firstPainted();

protected:
  void closeEvent(QCloseEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void moveEvent(QMoveEvent *event) override;
  void showEvent(QShowEvent *event) override;
  void paintEvent(QPaintEvent *event) override;
  void changeEvent(QEvent *event) override;

private:
  void createFeatures(UserInterface &ui);
  void deleteFeatures();
  // The user has decided about unsaved text and the settings are written.
  bool mayClose();
  void layoutStatusPanels();
  void painted();

  ProgramEditor *editor_;
  PanelStatusBar *statusBar_;
  Session *session_;
  PanelHost *panels_;
  UserInterface &ui_;
  QList<WindowFeature *> features_;
  DocumentCommands *documents_ = nullptr;
  WindowPlacement *placement_ = nullptr;
  std::unique_ptr<SettingsStore> settings_;
  bool painted_ = false;
};

} // namespace kavrin
