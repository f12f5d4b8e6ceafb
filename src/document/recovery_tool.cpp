#include "document/recovery_tool.h"

#include "platform/user_interface.h"
#include "widgets/rich_edit.h"

#include <QDir>
#include <QLocale>

namespace kavrin {
namespace {

qint64 now() { return QDateTime::currentMSecsSinceEpoch(); }

QString shownTime(const QDateTime &time) {
  return time.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

} // namespace

RecoveryTool::RecoveryTool(const WindowParts &parts)
    : WindowFeature(parts.window), window_(parts.window), editor_(parts.editor), ui_(parts.ui),
      fileName_(parts.fileName), restore_(parts.restore), store_(parts.stateDir) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &RecoveryTool::writeNow);
  // Only the timer is touched while typing; the copy is written after.
  connect(editor_->document(), &QTextDocument::contentsChanged, this, &RecoveryTool::changed);
  connect(editor_->document(), &QTextDocument::modificationChanged, this, &RecoveryTool::saved);
  connect(editor_, &RichEdit::textReplaced, this, [this] { saved(editor_->modified()); });
}

RecoveryTool::~RecoveryTool() { store_.remove(); }

void RecoveryTool::changed() {
  if (!editor_->modified()) {
    return;
  }
  const qint64 at = now();
  schedule_.changed(at);
  timer_.start(static_cast<int>(schedule_.dueIn(at)));
}

void RecoveryTool::saved(bool modified) {
  if (!modified) {
    timer_.stop();
    schedule_.written();
    store_.remove();
  }
}

void RecoveryTool::writeNow() {
  timer_.stop();
  if (!editor_->modified()) {
    return;
  }
  QString text = editor_->rawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  // A copy that cannot be written is tried again after the next change.
  store_.write({fileName_, text, QDateTime::currentDateTime()});
  schedule_.written();
}

void RecoveryTool::started() {
  for (const LeftCopy &left : store_.leftBehind()) {
    if (offer(left)) {
      return; // the window holds one document; the rest wait
    }
  }
}

bool RecoveryTool::offer(const LeftCopy &left) {
  if (!left.copy) {
    showMessage(ui_, window_,
                QStringLiteral("保存されずに終わった文書の復元用コピーを読めませんでした。\n%1 (%2)\n"
                               "コピーはそのまま残します。")
                    .arg(QDir::toNativeSeparators(left.file), shownTime(left.modified)));
    return false;
  }
  const QString document = left.copy->fileName.isEmpty() ? QStringLiteral("(一度も保存されていない文書)")
                                                         : QDir::toNativeSeparators(left.copy->fileName);
  const MsgResult answer = ui_.messageBox(
      window_,
      QStringLiteral("保存されずに終わった文書があります。\n\n文書: %1\n時刻: %2\n\n復元しますか?")
          .arg(document, shownTime(left.copy->written)),
      QStringLiteral("kavrin"), MsgButtons::YesNo, MsgResult::Yes);
  if (answer != MsgResult::Yes) {
    RecoveryStore::discard(left.file);
    return false;
  }
  restore_(left.copy->fileName, left.copy->text);
  // The text is safe in this editor's own copy before the old one goes.
  writeNow();
  RecoveryStore::discard(left.file);
  return true;
}

} // namespace kavrin
