#include "convert/emulator_tool.h"

#include "convert/convert_command.h"

#include "logic/emulator_command.h"
#include "logic/settings_table.h"
#include "platform/child_process.h"
#include "platform/user_interface.h"
#include "widgets/dialog_parts.h"
#include "widgets/emulator_dialog.h"
#include "widgets/session.h"

#include <QLineEdit>

namespace kavrin {
namespace {

QString cannotStartText(const QString &why) {
  return QStringLiteral("エミュレータを起動できません。\n") + why;
}

} // namespace

EmulatorTool::EmulatorTool(const FeatureContext &context, ConvertCommand &convert)
    : WindowFeature(context), convert_(convert) {
  // Ctrl+F5 is the menu's: the editor never sees it, so F5's text is not typed.
  addCommand("emulatorRun", QStringLiteral("エミュレータで実行(&E)"), &EmulatorTool::run,
             Qt::CTRL | Qt::Key_F5);
  connectGuarded(addItem("emulatorSettings", QStringLiteral("エミュレータの設定(&M)...")),
                 [this] { editSettings(); });
}

void EmulatorTool::readSettings(const SettingValues &values) {
  command_ = values.text(Setting::EmulatorCommand);
}

void EmulatorTool::writeSettings(SettingValues &values) const {
  values.set(Setting::EmulatorCommand, command_);
}

bool EmulatorTool::editSettings() {
  if (dialog_ == nullptr) {
    dialog_ = new EmulatorDialog(window());
    connect(dialog_, &EmulatorDialog::browse, this, &EmulatorTool::browse);
  }
  QLineEdit *line = dialog_->commandLine();
  line->setText(command_);
  line->setFocus();
  do {
    if (ui().execModal(*dialog_) != QDialog::Accepted) {
      return false;
    }
  } while (!holdsOnlyShiftJis(ui(), dialog_, line, QStringLiteral("エミュレータのコマンドライン")));
  command_ = line->text().trimmed();
  settingChanged();
  return true;
}

void EmulatorTool::browse() {
  QLineEdit *line = dialog_->commandLine();
  // Without a closed quote there is no telling which words are arguments,
  // so the line is not touched and Run's reason is given.
  if (!splitCommandLine(line->text(), platformQuoting())) {
    showMessage(ui(), dialog_, cannotStartText(unclosedQuoteError()));
    return;
  }
  FileDialog file;
#ifdef Q_OS_WIN
  file.filter = QStringLiteral("プログラム (*.exe)|*.EXE|すべてのファイル (*.*)|*.*");
#else
  file.filter = QStringLiteral("すべてのファイル (*)|*");
#endif
  file.title = QStringLiteral("エミュレータの選択");
  if (ui().execOpenDialog(dialog_, file)) {
    line->setText(withProgram(line->text(), file.fileName).value());
  }
}

void EmulatorTool::run() {
  if (command_.isEmpty() && !editSettings()) {
    return;
  }
  if (command_.isEmpty()) {
    showMessage(ui(), window(), QStringLiteral("エミュレータのコマンドラインが設定されていません。"));
    return;
  }
  // A command line that cannot be read is reported before the conversion.
  if (const QString error = buildEmulatorCommand(command_, QString()).error; !error.isEmpty()) {
    cannotStart(error);
    return;
  }
  const QString image = convert_.convertProgram(true);
  if (!image.isEmpty()) {
    start(image);
  }
}

void EmulatorTool::cannotStart(const QString &why) { showMessage(ui(), window(), cannotStartText(why)); }

void EmulatorTool::start(const QString &image) {
  const EmulatorCommand command = buildEmulatorCommand(command_, image);
  if (!command.error.isEmpty()) {
    cannotStart(command.error);
    return;
  }
  const QString program = findProgram(command.program, session().paths().exeDir);
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
