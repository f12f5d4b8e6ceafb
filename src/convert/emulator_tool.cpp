#include "convert/emulator_tool.h"

#include "convert/emulator_command.h"
#include "platform/child_process.h"
#include "platform/user_interface.h"
#include "settings/settings_table.h"
#include "widgets/dialog_parts.h"
#include "widgets/emulator_dialog.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

namespace kavrin {
namespace {

QString cannotStartText(const QString &why) {
  return QStringLiteral("エミュレータを起動できません。\n") + why;
}

} // namespace

EmulatorTool::EmulatorTool(const WindowParts &parts)
    : WindowFeature(parts.window), window_(parts.window), ui_(parts.ui), convert_(parts.convert),
      exeDir_(parts.exeDir) {
  run_ = new QAction(QStringLiteral("エミュレータで実行(&E)"), parts.special);
  settings_ = new QAction(QStringLiteral("エミュレータの設定(&M)..."), parts.special);
  const QList<QAction *> items = parts.special->actions();
  QAction *before = items.value(items.indexOf(parts.convertItem) + 1);
  parts.special->insertAction(before, run_);
  parts.special->insertAction(before, settings_);
  connect(run_, &QAction::triggered, this, &EmulatorTool::RunClick);
  connect(settings_, &QAction::triggered, this, &EmulatorTool::SettingsClick);
}

void EmulatorTool::readSettings(const SettingValues &values) {
  command_ = values.text(Setting::EmulatorCommand);
}

void EmulatorTool::writeSettings(SettingValues &values) const {
  values.set(Setting::EmulatorCommand, command_);
}

bool EmulatorTool::SettingsClick() {
  if (dialog_ == nullptr) {
    dialog_ = new EmulatorDialog(window_);
    connect(dialog_, &EmulatorDialog::browse, this, &EmulatorTool::browse);
  }
  QLineEdit *line = dialog_->commandLine();
  line->setText(command_);
  line->setFocus();
  do {
    if (ui_.execModal(*dialog_) != QDialog::Accepted) {
      return false;
    }
  } while (!holdsOnlyShiftJis(ui_, dialog_, line, QStringLiteral("エミュレータのコマンドライン")));
  command_ = line->text().trimmed();
  return true;
}

void EmulatorTool::browse() {
  QLineEdit *line = dialog_->commandLine();
  // Without a closed quote there is no telling which words are arguments,
  // so the line is not touched and Run's reason is given.
  if (!splitCommandLine(line->text(), platformQuoting())) {
    showMessage(ui_, dialog_, cannotStartText(unclosedQuoteError()));
    return;
  }
  FileDialog file;
#ifdef Q_OS_WIN
  file.filter = QStringLiteral("プログラム (*.exe)|*.EXE|すべてのファイル (*.*)|*.*");
#else
  file.filter = QStringLiteral("すべてのファイル (*)|*");
#endif
  file.title = QStringLiteral("エミュレータの選択");
  if (ui_.execOpenDialog(dialog_, file)) {
    line->setText(withProgram(line->text(), file.fileName).value());
  }
}

void EmulatorTool::RunClick() {
  if (command_.isEmpty() && !SettingsClick()) {
    return;
  }
  if (command_.isEmpty()) {
    showMessage(ui_, window_, QStringLiteral("エミュレータのコマンドラインが設定されていません。"));
    return;
  }
  // A command line that cannot be read is reported before the conversion.
  if (const QString error = buildEmulatorCommand(command_, QString()).error; !error.isEmpty()) {
    cannotStart(error);
    return;
  }
  const QString image = convert_();
  if (!image.isEmpty()) {
    start(image);
  }
}

void EmulatorTool::cannotStart(const QString &why) { showMessage(ui_, window_, cannotStartText(why)); }

void EmulatorTool::start(const QString &image) {
  const EmulatorCommand command = buildEmulatorCommand(command_, image);
  if (!command.error.isEmpty()) {
    cannotStart(command.error);
    return;
  }
  const QString program = findProgram(command.program, exeDir_);
  if (program.isEmpty()) {
    cannotStart(QStringLiteral("プログラムが見つかりません: %1").arg(command.program));
    return;
  }
  const Launch launch = launchFor(program, command.arguments);
  QString why = launch.error;
  if (why.isEmpty() && startDetached(launch.program, launch.arguments, why)) {
    return;
  }
  cannotStart(why);
}

} // namespace kavrin
