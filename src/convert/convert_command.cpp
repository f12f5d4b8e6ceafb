#include "convert/convert_command.h"

#include "logic/converter_command.h"
#include "platform/child_process.h"
#include "platform/cp932.h"
#include "platform/paths.h"
#include "platform/user_interface.h"
#include "widgets/session.h"

#include <QDir>
#include <QFileInfo>

namespace kavrin {
namespace {

// Whether two paths name one file, by the file system where both exist.
bool sameFile(const QString &a, const QString &b) {
  const QFileInfo fa(a);
  const QFileInfo fb(b);
  if (fa.exists() && fb.exists()) {
    return fa == fb;
  }
  return samePath(QDir::cleanPath(fa.absoluteFilePath()), QDir::cleanPath(fb.absoluteFilePath()));
}

} // namespace

ConvertCommand::ConvertCommand(const FeatureContext &context) : WindowFeature(context) {
  addCommand("convert", QStringLiteral("変換(&T)..."), &ConvertCommand::convert);
}

QString ConvertCommand::convertProgram() {
  if (!session().querySave()) {
    return {};
  }
  const QString fileName = session().fileName();
  if (fileName.isEmpty()) {
    showMessage(ui(), window(), QStringLiteral("一旦セーブしないと変換できません"));
    return {};
  }
  FileDialog &dialog = session().saveDialog();
  dialog.filter = QStringLiteral("テープイメージ (*.cas)|*.CAS|すべてのファイル (*.*)|*.*");
  dialog.title = QStringLiteral("テープイメージに変換");
  dialog.fileName = tapeImageName(fileName);
  dialog.defaultExt.clear();
  if (!ui().execSaveDialog(window(), dialog)) {
    return {};
  }
  const QString image = dialog.fileName;
  const QString converter = session().preferences().converter;
  const ConverterKind kind = identifyConverter(converter);
  if (kind == ConverterKind::Unsupported) {
    showMessage(ui(), window(), QStringLiteral("対応していない変換プログラムです"));
    return {};
  }
  // The converter would write the image over the program text.
  if (sameFile(image, fileName)) {
    showMessage(
        ui(), window(),
        QStringLiteral(
            "テープイメージの保存先がプログラムのファイルと同じです。\n別の名前を指定してください。"));
    return {};
  }
  return runConverter(buildConverterCommand(kind, converter, session().mode() == 6, fileName, image))
             ? image
             : QString();
}

bool ConvertCommand::runConverter(const ConverterCommand &command) {
  const auto cannotStart = [this](const QString &why) {
    showMessage(ui(), window(), QStringLiteral("CreateProcess failed.\n") + why);
  };
  const QString program = findProgram(command.program, session().paths().exeDir);
  if (program.isEmpty()) {
    cannotStart(QStringLiteral("プログラムが見つかりません: %1").arg(command.program));
    return false;
  }
  const Launch launch = launchFor(program, command.arguments);
  if (!launch.error.isEmpty()) {
    cannotStart(launch.error);
    return false;
  }
  ChildProcess child;
  QString why;
  if (!child.start(launch.program, launch.arguments, why)) {
    cannotStart(why);
    return false;
  }
  converting_ = true;
  {
    // A converter that never ends can be stopped; until the window shows,
    // the user's input waits, as it would for a program that blocks.
    std::unique_ptr<ProgressWindow> progress =
        ui().showProgress(window(), QStringLiteral("変換中..."), [&child] { child.cancel(); });
    // The window is for a converter still at work: it goes as soon as the
    // converter has ended, and never covers a box.
    const auto working = [&progress, &child] {
      if (child.ended()) {
        progress.reset();
      }
      return progress != nullptr;
    };
    const auto events = [&progress, &working] {
      return working() && progress->acceptsInput() ? QEventLoop::AllEvents
                                                   : QEventLoop::ExcludeUserInputEvents;
    };
    for (QByteArray piece = child.nextErrorPiece(4096, events); !piece.isEmpty();
         piece = child.nextErrorPiece(4096, events)) {
      if (working()) {
        progress->hold(true);
      }
      showMessage(ui(), window(), cp932::decode(piece));
      if (working()) {
        progress->hold(false);
      }
    }
  }
  converting_ = false;
  const bool success = child.exitedNormally() && child.exitCode() == 0;
  showMessage(ui(), window(),
              success ? QStringLiteral("正常に終了しました") : QStringLiteral("エラーが発生しました"));
  return success;
}

} // namespace kavrin
