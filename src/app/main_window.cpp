#include "app/main_window.h"

#include "app/menu_layout.h"
#include "basic/basic_tools.h"
#include "basic/form_commands.h"
#include "basic/jump_commands.h"
#include "basic/move_lines_command.h"
#include "basic/panel_commands.h"
#include "convert/convert_command.h"
#include "convert/emulator_tool.h"
#include "document/document_commands.h"
#include "document/recovery_tool.h"
#include "editing/edit_commands.h"
#include "editing/format_commands.h"
#include "editing/search_commands.h"
#include "editing/typing_aids.h"
#include "help/help_commands.h"
#include "platform/error.h"
#include "platform/fonts.h"
#include "platform/user_interface.h"
#include "settings/settings_command.h"
#include "settings/settings_store.h"
#include "settings/window_placement.h"
#include "widgets/panel_host.h"
#include "widgets/program_editor.h"
#include "widgets/session.h"
#include "widgets/status_bar.h"

#include <QCloseEvent>
#include <QMenuBar>

#include <algorithm>

namespace kavrin {

MainWindow::MainWindow(UserInterface &ui, const QStringList &args, const ProgramPaths &paths, QWidget *parent)
    : QMainWindow(parent), editor_(new ProgramEditor(this)), statusBar_(new PanelStatusBar(this)),
      session_(new Session(paths, this)), panels_(new PanelHost(this, editor_)), ui_(ui),
      settings_(std::make_unique<SettingsStore>(paths.iniFile, ui, this)) {
  setWindowTitle(QStringLiteral("kavrin"));
  setFont(windowFont());
  editor_->setObjectName(QStringLiteral("editor"));
  // The editor's own font is only the base of the saved font that the
  // settings set at once; loading it as well would cost start-up time.
  setCentralWidget(editor_);
  editor_->setFocus();
  statusBar_->setObjectName(QStringLiteral("statusBar"));
  setStatusBar(statusBar_);

  try {
    createFeatures(ui);
    buildMenuBar(*menuBar(), *this);
    settings_->load(features_);
    // From now on a setting the user changes is written at once: a crash
    // then loses none of them.
    connect(session_, &Session::settingChanged, this, [this] { settings_->save(features_); });
    layoutStatusPanels();
    for (WindowFeature *feature : features_) {
      feature->started();
    }
    if (!args.isEmpty()) {
      documents_->openStartFile(args.first());
    }
  } catch (...) {
    // No destructor runs for a window that was never made; left to Qt, the
    // features would go after the session they lean on.
    deleteFeatures();
    throw;
  }
}

MainWindow::~MainWindow() {
  deleteFeatures();
  delete panels_;
}

void MainWindow::deleteFeatures() {
  // The features lean on the editor and the session: they go while those are
  // still there, last listed first, so none outlives one it was handed.
  placement_ = nullptr;
  documents_ = nullptr;
  while (!features_.isEmpty()) {
    delete features_.takeLast();
  }
}

void MainWindow::createFeatures(UserInterface &ui) {
  const FeatureContext context{this, editor_, statusBar_, menuBar(), ui, *session_, *panels_};
  placement_ = new WindowPlacement(context);
  documents_ = new DocumentCommands(context);
  auto *convert = new ConvertCommand(context);
  auto *tools = new basic::BasicTools(context);
  // Settings are read in this order: the keyword colours follow the mode's
  // keywords and the background.
  features_ = {placement_,
               new SettingsCommand(context),
               new TypingAids(context),
               new FormatCommands(context),
               new EditCommands(context),
               new SearchCommands(context),
               documents_,
               convert,
               new EmulatorTool(context, *convert),
               tools,
               new basic::MoveLinesCommand(context),
               new basic::FormCommands(context),
               new basic::JumpCommands(context, tools->history()),
               new basic::PanelCommands(context, tools->history()),
               new RecoveryTool(context),
               new HelpCommands(context)};
}

QAction *MainWindow::command(const char *name) const {
  return findChild<QAction *>(QString::fromLatin1(name));
}

QRect MainWindow::outerGeometry() const { return placement_->outerGeometry(); }

void MainWindow::setOuterGeometry(const QRect &outer) { placement_->setOuterGeometry(outer); }

bool MainWindow::mayClose() {
  if (!session_->querySave()) {
    return false;
  }
  for (WindowFeature *feature : features_) {
    feature->closing();
  }
  settings_->save(features_);
  return true;
}

void MainWindow::closeEvent(QCloseEvent *event) {
  const bool busy =
      std::any_of(features_.begin(), features_.end(), [](const WindowFeature *f) { return f->busy(); });
  bool allow = false;
  if (!busy) {
    try {
      allow = mayClose();
    } catch (const Error &e) {
      showMessage(ui_, this, e.message());
    }
  }
  event->setAccepted(allow);
}

void MainWindow::layoutStatusPanels() {
  const int width = frameGeometry().width() / PanelStatusBar::kPanelCount;
  for (int i = 0; i < PanelStatusBar::kPanelCount; ++i) {
    statusBar_->setPanelWidth(i, width);
  }
}

void MainWindow::showEvent(QShowEvent *event) {
  QMainWindow::showEvent(event);
  if (placement_ != nullptr) {
    placement_->frameMayBeKnown();
  }
  // A window shown minimized is not painted until it is restored.
  if (isMinimized()) {
    painted();
  }
}

void MainWindow::changeEvent(QEvent *event) {
  QMainWindow::changeEvent(event);
  // Minimized by the window manager as it opened: no paint comes.
  if (event->type() == QEvent::WindowStateChange && isMinimized()) {
    painted();
  }
}

void MainWindow::paintEvent(QPaintEvent *event) {
  QMainWindow::paintEvent(event);
  painted();
}

void MainWindow::painted() {
  if (!painted_) {
    painted_ = true;
    // Queued, so that the window is on the screen first.
    QMetaObject::invokeMethod(this, &MainWindow::firstPainted, Qt::QueuedConnection);
  }
}

void MainWindow::resizeEvent(QResizeEvent *event) {
  QMainWindow::resizeEvent(event);
  if (placement_ != nullptr) {
    placement_->frameMayBeKnown();
  }
  layoutStatusPanels();
}

void MainWindow::moveEvent(QMoveEvent *event) {
  QMainWindow::moveEvent(event);
  // Window managers report the frame around the time they move the window.
  if (placement_ != nullptr) {
    placement_->frameMayBeKnown();
  }
  layoutStatusPanels();
}

} // namespace kavrin
