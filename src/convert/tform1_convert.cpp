// The convert command and the converter runner.

#include "app/tform1.h"
#include "convert/converter_command.h"
#include "platform/child_process.h"
#include "platform/cp932.h"
#include "platform/paths.h"

#include <QAction>
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

void TForm1::Trans6Click() { convertProgram(); }

QString TForm1::convertProgram() {
  if (!QuerySave()) {
    return {};
  }
  if (FileName.isEmpty()) {
    showMessage(ui(), this, QStringLiteral("一旦セーブしないと変換できません"));
    return {};
  }
  SaveDialog1.filter = QStringLiteral("テープイメージ (*.cas)|*.CAS|すべてのファイル (*.*)|*.*");
  SaveDialog1.title = QStringLiteral("テープイメージに変換");
  SaveDialog1.fileName = tapeImageName(FileName);
  SaveDialog1.defaultExt.clear();
  if (!ui().execSaveDialog(this, SaveDialog1)) {
    return {};
  }
  const QString image = SaveDialog1.fileName;
  const ConverterKind kind = identifyConverter(ConvProg);
  if (kind == ConverterKind::Unsupported) {
    showMessage(ui(), this, QStringLiteral("対応していない変換プログラムです"));
    return {};
  }
  // The converter would write the image over the program text.
  if (sameFile(image, FileName)) {
    showMessage(
        ui(), this,
        QStringLiteral(
            "テープイメージの保存先がプログラムのファイルと同じです。\n別の名前を指定してください。"));
    return {};
  }
  return RunConverter(buildConverterCommand(kind, ConvProg, Mode6->isChecked(), FileName, image)) ? image
                                                                                                  : QString();
}

bool TForm1::RunConverter(const ConverterCommand &command) {
  const auto cannotStart = [this](const QString &why) {
    showMessage(ui(), this, QStringLiteral("CreateProcess failed.\n") + why);
  };
  const QString program = findProgram(command.program, ExeDir);
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
        ui().showProgress(this, QStringLiteral("変換中..."), [&child] { child.cancel(); });
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
      showMessage(ui(), this, cp932::decode(piece));
      if (working()) {
        progress->hold(false);
      }
    }
  }
  converting_ = false;
  const bool success = child.exitedNormally() && child.exitCode() == 0;
  showMessage(ui(), this,
              success ? QStringLiteral("正常に終了しました") : QStringLiteral("エラーが発生しました"));
  return success;
}

} // namespace kavrin
