#include "document/recovery_tool.h"

#include "logic/source_form.h"
#include "platform/user_interface.h"
#include "widgets/program_editor.h"
#include "widgets/session.h"

#include <QDir>

namespace kavrin {
namespace {

qint64 now() { return QDateTime::currentMSecsSinceEpoch(); }

QString shownTime(const QDateTime &time) {
  return time.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

// What became of the document's file since its editor last read or wrote it.
QString fileChange(const RecoveryCopy &copy) {
  if (!copy.stamp) {
    return {};
  }
  switch (changeSince(copy.fileName, *copy.stamp)) {
  case DiskChange::Changed:
    return QStringLiteral("(ファイルは、その後ほかのプログラムによって変更されています。)\n");
  case DiskChange::Removed:
    return QStringLiteral("(ファイルは、その後削除されたか、名前が変わっています。)\n");
  case DiskChange::None:
    break;
  }
  return {};
}

} // namespace

RecoveryTool::RecoveryTool(const FeatureContext &context)
    : WindowFeature(context), editor_(context.editor), folder_(context.session.paths().stateDir),
      writer_(folder_, [this](bool wrote, const QString &why) {
        // Told on the writer's thread; acted on in the window's.
        QMetaObject::invokeMethod(
            this, [this, wrote, why] { written(wrote, why); }, Qt::QueuedConnection);
      }) {
  connect(&timer_, &QTimer::timeout, this, &RecoveryTool::writeNow);
  // Only the timer is touched while typing; the copy is written after.
  connect(editor_->document(), &QTextDocument::contentsChanged, this, &RecoveryTool::changed);
  connect(editor_->document(), &QTextDocument::modificationChanged, this, [this](bool modified) {
    if (!modified) {
      unmodified();
    }
  });
  connect(editor_, &ProgramEditor::textReplaced, this, &RecoveryTool::replaced);
  connect(&session(), &Session::documentSaved, this, &RecoveryTool::textSafe);
}

RecoveryTool::~RecoveryTool() {
  if (atRisk_ && timer_.isActive() && editor_ != nullptr) {
    writeNow();
  }
  timer_.stop();
  if (!atRisk_) {
    writer_.remove();
  }
}

void RecoveryTool::changed() {
  if (!editor_->modified()) {
    return;
  }
  atRisk_ = true;
  const qint64 at = now();
  schedule_.changed(at);
  timer_.start(static_cast<int>(schedule_.dueIn(at)));
}

void RecoveryTool::unmodified() {
  timer_.stop();
  schedule_.done();
  atRisk_ = false;
  writer_.remove();
}

void RecoveryTool::replaced() {
  // Text taken in from another copy has left the window with the old text.
  takenIn_.clear();
  if (!editor_->modified()) {
    unmodified();
  }
}

void RecoveryTool::closing() { atRisk_ = false; }

void RecoveryTool::writeNow() {
  timer_.stop(); // once for each pause in typing
  if (!editor_->modified()) {
    return;
  }
  // A copy that cannot be written is tried again after the next change.
  // The file's stamp goes with it, so that a file another program changes
  // meanwhile is not replaced without a question after a restore.
  const QString fileName = session().fileName();
  RecoveryCopy copy{fileName, editor_->rawText(), QDateTime::currentDateTime(),
                    fileName.isEmpty() ? std::nullopt : std::optional<FileStamp>(session().diskStamp())};
  // A converted or unnamed document's form: its name does not say it.
  if (const bool source = session().sourceForm(); source != basic::isSourceFileName(fileName)) {
    copy.sourceForm = source;
  }
  writer_.write(copy);
  schedule_.done();
}

void RecoveryTool::written(bool wrote, const QString &why) {
  if (!wrote || !editor_->modified()) {
    return;
  }
  if (why.isEmpty()) {
    failing_ = false;
    textSafe();
    return;
  }
  // Tried again in a while even if nothing more is typed.
  if (!timer_.isActive()) {
    timer_.start(static_cast<int>(PauseSchedule::kLongestMs));
  }
  if (!failing_) {
    failing_ = true;
    showMessage(ui(), window(),
                QStringLiteral("変更の復元用コピーを書き込めません。\n%1\n"
                               "このままでは、異常終了したときに変更が失われます。早めに保存してください。")
                    .arg(why));
  }
}

void RecoveryTool::textSafe() {
  for (const QString &file : std::as_const(takenIn_)) {
    RecoveryStore::discard(file);
  }
  takenIn_.clear();
}

void RecoveryTool::started() {
  const std::vector<LeftCopy> left = RecoveryStore(folder_).leftBehind();
  for (size_t i = 0; i < left.size(); ++i) {
    if (offer(left[i])) {
      tellWaiting(left, i); // the window holds one document; the rest wait
      return;
    }
  }
}

bool RecoveryTool::offer(const LeftCopy &left) {
  if (!left.copy) {
    showMessage(ui(), window(),
                QStringLiteral("保存されずに終わった文書の復元用コピーを読めませんでした。\n%1 (%2)\n"
                               "コピーはそのまま残します。")
                    .arg(QDir::toNativeSeparators(left.file), shownTime(left.modified)));
    return false;
  }
  const QString document = left.copy->fileName.isEmpty() ? QStringLiteral("(一度も保存されていない文書)")
                                                         : QDir::toNativeSeparators(left.copy->fileName);
  const MsgResult answer = ui().messageBox(
      window(),
      QStringLiteral("保存されずに終わった文書があります。\n\n文書: %1\n%3時刻: %2\n\n復元しますか?\n"
                     "(「いいえ」でコピーを破棄します。「キャンセル」で次の起動まで残します。)")
          .arg(document, shownTime(left.copy->written), fileChange(*left.copy)),
      QStringLiteral("kavrin"), MsgButtons::YesNoCancel, MsgResult::Yes);
  if (answer == MsgResult::No) {
    RecoveryStore::discard(left.file);
  }
  if (answer != MsgResult::Yes) {
    return false;
  }
  takeOver(left);
  return true;
}

void RecoveryTool::takeOver(const LeftCopy &left) {
  session().restore(*left.copy);
  takenIn_ = {left.file};
  atRisk_ = true;
  // The old copy goes only once this editor's own copy holds the text.
  writeNow();
  const QString why = writer_.finish();
  if (why.isEmpty()) {
    textSafe();
    return;
  }
  failing_ = true; // told here, not again
  showMessage(ui(), window(),
              QStringLiteral("復元した文書の復元用コピーを書き込めませんでした。\n%1\n"
                             "元のコピーは、この文書を保存するまで残します。")
                  .arg(why));
}

void RecoveryTool::tellWaiting(const std::vector<LeftCopy> &left, size_t taken) {
  qsizetype waiting = 0;
  for (size_t i = 0; i < left.size(); ++i) {
    waiting += i != taken && QFile::exists(left[i].file) ? 1 : 0;
  }
  if (waiting > 0) {
    showMessage(
        ui(), window(),
        QStringLiteral("ほかにも保存されずに終わった文書が %1 件あります。次の起動時にお知らせします。")
            .arg(waiting));
  }
}

} // namespace kavrin
