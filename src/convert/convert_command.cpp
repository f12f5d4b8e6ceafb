#include "convert/convert_command.h"

#include "logic/converter_command.h"
#include "logic/converter_output.h"
#include "logic/emulator_command.h"
#include "logic/line_lookup.h"
#include "platform/child_process.h"
#include "platform/paths.h"
#include "platform/user_interface.h"
#include "platform/write_stamp.h"
#include "widgets/panel_host.h"
#include "widgets/program_editor.h"
#include "widgets/result_panel.h"
#include "widgets/session.h"

#include <QDir>
#include <QFileInfo>
#include <QTextDocument>
#include <QTime>

#include <algorithm>

namespace kavrin {
namespace {

// Whether a converter could write `image` now: the file, or where there is
// none yet, its folder.
bool writable(const QString &image) {
  const QFileInfo file(image);
  if (file.exists()) {
    return file.isFile() && file.isWritable();
  }
  const QFileInfo folder(file.absolutePath());
  return folder.isDir() && folder.isWritable();
}

constexpr qsizetype kPieceBytes = 4096;

// How a run ended: the box's text, the panel row's, and whether it failed
// (a cancel is no failure).
struct RunResult {
  QString box;
  QString row;
  bool succeeded = false;
  bool failed = false;
};

// A converter that exits with success but leaves the image as it was has
// not converted: an emulator started then would load an old image or none.
RunResult resultOf(const ChildProcess &child, bool imageWritten, bool unsavedEdits) {
  if (child.cancelled()) {
    const QString cancelled = QStringLiteral("変換を取り消しました");
    return {cancelled, cancelled};
  }
  if (!child.exitedNormally() || child.exitCode() != 0) {
    const QString failed = QStringLiteral("エラーが発生しました");
    const QString why = child.crashed() ? QStringLiteral("変換プログラムが異常終了しました")
                                        : QStringLiteral("終了コード %1").arg(child.exitCode());
    return {failed, QStringLiteral("%1 (%2)").arg(failed, why), false, true};
  }
  if (!imageWritten) {
    const QString unwritten = QStringLiteral("変換プログラムがテープイメージを書きませんでした");
    return {unwritten, unwritten, false, true};
  }
  const QString done = QStringLiteral("正常に終了しました");
  if (!unsavedEdits) {
    return {done, done, true};
  }
  const QString note = QStringLiteral("(保存されていない変更は変換に含まれていません)");
  return {done + u'\n' + note, done + u' ' + note, true};
}

} // namespace

ConvertCommand::ConvertCommand(const FeatureContext &context) : WindowFeature(context) {
  addCommand("convert", QStringLiteral("変換(&T)..."), &ConvertCommand::convert);
  connect(&session(), &Session::documentReplaced, this, [this] {
    keptImage_.clear();
    build_.forget();
  });
}

bool ConvertCommand::refusedConverter() {
  const QString converter = session().preferences().converter;
  if (!session().preferences().outputInPanelOnly ||
      identifyConverter(converter) != ConverterKind::Unsupported) {
    return false;
  }
  showMessage(ui(), window(),
              QStringLiteral("対応していない変換プログラムです: %1\n"
                             "使える変換プログラムは txt2bas.exe と csave.exe です。")
                  .arg(converter));
  return true;
}

QString ConvertCommand::convertProgram(bool again) {
  // The first run's questions are asked again when the image is not there
  // to be written.
  again = again && !keptImage_.isEmpty() && writable(keptImage_);
  if (refusedConverter() || !(again ? session().saveChanges() : session().querySave())) {
    return {};
  }
  const QString fileName = session().fileName();
  if (fileName.isEmpty()) {
    showMessage(ui(), window(), QStringLiteral("一旦セーブしないと変換できません"));
    return {};
  }
  // A source document is converted from the program built from it: built
  // first, so that the image is asked for only once there is a program.
  // A document turned into the other form and not saved yet converts its
  // file, as it was saved.
  const bool fromSource = session().sourceForm() || basic::isSourceFileName(fileName);
  const QString program = fromSource ? build_.write(context(), fileName) : fileName;
  if (program.isEmpty()) {
    return {};
  }
  // (A save that renamed the document has forgotten the image: asked.)
  const QString image = again && !keptImage_.isEmpty() ? keptImage_ : chooseImage(fileName);
  if (image.isEmpty()) {
    return {};
  }
  const QString converter = session().preferences().converter;
  const ConverterKind kind = identifyConverter(converter);
  if (kind == ConverterKind::Unsupported) {
    showMessage(ui(), window(), QStringLiteral("対応していない変換プログラムです"));
    return {};
  }
  // The converter would write the image over the program text.
  if (sameFile(image, fileName) || sameFile(image, program)) {
    showMessage(
        ui(), window(),
        QStringLiteral(
            "テープイメージの保存先がプログラムのファイルと同じです。\n別の名前を指定してください。"));
    return {};
  }
  // The image last chosen is the next run's, whatever this run gives.
  keptImage_ = image;
  // Edits still unsaved here are ones the user chose not to save.
  if (!runConverter(buildConverterCommand(kind, converter, session().mode() == 6, program, image), image,
                    editor()->modified())) {
    return {};
  }
  return image;
}

QString ConvertCommand::chooseImage(const QString &fileName) {
  FileDialog &dialog = session().saveDialog();
  dialog.filter = QStringLiteral("テープイメージ (*.cas)|*.CAS|すべてのファイル (*.*)|*.*");
  dialog.title = QStringLiteral("テープイメージに変換");
  dialog.fileName = tapeImageName(fileName);
  dialog.defaultExt.clear();
  // Replacing the image of an earlier conversion is what converting is for.
  dialog.askBeforeReplacing = false;
  return ui().execSaveDialog(window(), dialog) ? dialog.fileName : QString();
}

bool ConvertCommand::runConverter(const ConverterCommand &command, const QString &image, bool unsavedEdits) {
  const Preferences &preferences = session().preferences();
  const bool panelOnly = preferences.outputInPanelOnly;
  lines_ = OutputLineFinder(preferences.outputLinePattern);
  lineIndex_.reset();
  ChildProcess child;
  // Taken before the start: whatever the converter writes comes after.
  const WriteStamp before = writeStampOf(image);
  if (!startConverter(command, child)) {
    return false;
  }
  converting_ = true;
  readOutput(child, panelOnly);
  converting_ = false;
  return reportResult(child, panelOnly, writtenSince(image, before), unsavedEdits);
}

bool ConvertCommand::startConverter(const ConverterCommand &command, ChildProcess &child) {
  const QString program = findProgram(command.program, session().paths().exeDir);
  const Launch launch = program.isEmpty() ? Launch{command.program, command.arguments, {}}
                                          : launchFor(program, command.arguments);
  QList<OutputRow> first{
      {QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) + u' ' +
           joinCommandLine(QStringList{QDir::toNativeSeparators(launch.program)} + launch.arguments),
       std::nullopt}};
  if (!lines_.problem().isEmpty()) {
    first.append({lines_.problem(), std::nullopt});
  }
  // The rows of earlier runs speak of an older text: they lead nowhere now.
  ResultPanel &panel = *panels().panel();
  panel.unlinkRows(ResultTab::Output);
  outputRows(first);
  panel.setCurrentRow(ResultTab::Output,
                      panel.rows(ResultTab::Output).rowCount() - static_cast<int>(first.size()));
  QString why = program.isEmpty() ? QStringLiteral("プログラムが見つかりません: %1").arg(command.program)
                                  : launch.error;
  if (why.isEmpty() && child.start(launch.program, launch.arguments, why)) {
    return true;
  }
  outputRows({{why, std::nullopt}});
  if (session().preferences().outputInPanelOnly) {
    showOutputTab();
    ui().beep();
  } else {
    showMessage(ui(), window(), QStringLiteral("CreateProcess failed.\n") + why);
  }
  return false;
}

void ConvertCommand::readOutput(ChildProcess &child, bool panelOnly) {
  ConverterOutputDecoder decoder;
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
    return working() && progress->acceptsInput() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
  };
  const auto show = [&](const DecodedOutput &output) {
    addOutputLines(output);
    if (panelOnly || output.text.isEmpty()) {
      return;
    }
    if (working()) {
      progress->hold(true);
    }
    showMessage(ui(), window(), output.text);
    if (working()) {
      progress->hold(false);
    }
  };
  for (QByteArray piece = child.nextErrorPiece(kPieceBytes, events); !piece.isEmpty();
       piece = child.nextErrorPiece(kPieceBytes, events)) {
    show(decoder.feed(piece));
  }
  progress.reset();
  show(decoder.finish());
}

void ConvertCommand::addOutputLines(const DecodedOutput &output) {
  if (output.lines.isEmpty()) {
    return;
  }
  QList<OutputRow> rows;
  rows.reserve(output.lines.size());
  for (const QString &line : output.lines) {
    rows.append(lines_.row(line));
  }
  outputRows(rows);
  showOutputTab();
}

bool ConvertCommand::reportResult(const ChildProcess &child, bool panelOnly, bool imageWritten,
                                  bool unsavedEdits) {
  const RunResult result = resultOf(child, imageWritten, unsavedEdits);
  outputRows({{result.row, std::nullopt}});
  if (!panelOnly) {
    showMessage(ui(), window(), result.box);
    return result.succeeded;
  }
  // The panel is then the only place the result is told.
  showOutputTab();
  if (result.failed) {
    ui().beep();
  }
  return result.succeeded;
}

QList<ResultRow> ConvertCommand::panelRows(const QList<OutputRow> &rows, const basic::ProgramLineIndex &lines,
                                           const basic::BuiltProgram *built) {
  QList<ResultRow> panelRows;
  panelRows.reserve(rows.size());
  for (const OutputRow &row : rows) {
    ResultRow panelRow{row.text, -1, std::nullopt};
    if (row.line) {
      // The line is followed from now on, through edits and renumbering:
      // the one with the number, else the next higher one, as Ctrl+G finds.
      basic::LineLookup found = lines.find(*row.line);
      // In a source document, the line that built the numbered one.
      if (built != nullptr && found.line >= 0) {
        found.line = built->firstSourceLine(static_cast<size_t>(found.line));
      }
      panelRow = {row.text, found.line, row.line, found.exact};
    }
    panelRows.append(panelRow);
  }
  return panelRows;
}

void ConvertCommand::outputRows(const QList<OutputRow> &rows) {
  if (!lineIndex_ && std::any_of(rows.begin(), rows.end(), [](const OutputRow &row) { return row.line; })) {
    // The rows lead to the lines in the window, edited since the save or
    // not: a source document's through the build of its text.
    rowBuild_ = session().numberedBuild(editor()->text());
    if (!rowBuild_ && session().sourceForm() && build_.built() != nullptr) {
      rowBuild_ = *build_.built(); // the text refused now: the one converted
    }
    lineIndex_.emplace(rowBuild_ ? QStringView(rowBuild_->text) : QStringView(editor()->text()));
  }
  static const basic::ProgramLineIndex none{QString()};
  panels().panel()->append(
      ResultTab::Output, panelRows(rows, lineIndex_ ? *lineIndex_ : none, rowBuild_ ? &*rowBuild_ : nullptr));
}

void ConvertCommand::showOutputTab() { panels().panel()->showTab(ResultTab::Output); }

} // namespace kavrin
