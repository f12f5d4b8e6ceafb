#include "editing/replace_tool.h"

#include "editing/find_next.h"
#include "platform/user_interface.h"
#include "widgets/replace_dialog.h"
#include "widgets/rich_edit.h"

#include <QAction>
#include <QMenu>

namespace kavrin {

ReplaceTool::ReplaceTool(const WindowParts &parts)
    : WindowFeature(parts.window), window_(parts.window), editor_(parts.editor), ui_(parts.ui) {
  item_ = new QAction(QStringLiteral("置換(&R)..."), parts.edit);
  item_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
  const QList<QAction *> items = parts.edit->actions();
  parts.edit->insertAction(items.value(items.indexOf(parts.editAnchor) + 1), item_);
  connect(item_, &QAction::triggered, this, &ReplaceTool::ReplaceClick);
}

void ReplaceTool::ReplaceClick() {
  if (dialog_ == nullptr) {
    dialog_ = new ReplaceDialog(window_);
    connect(dialog_, &ReplaceDialog::findNext, this, &ReplaceTool::FindNext);
    connect(dialog_, &ReplaceDialog::replaceNext, this, &ReplaceTool::ReplaceNext);
    connect(dialog_, &ReplaceDialog::replaceAll, this, &ReplaceTool::ReplaceAll);
  }
  dialog_->setFindText(firstLineOf(editor_->selText()));
  dialog_->present();
}

SearchOptions ReplaceTool::options() const {
  return {dialog_->findText(), dialog_->matchCase(), dialog_->wholeWord()};
}

void ReplaceTool::FindNext() { findNext(*editor_, ui_, options()); }

void ReplaceTool::ReplaceNext() {
  if (isHit(*editor_->document(), editor_->textCursor(), options())) {
    editor_->setSelText(dialog_->replaceText());
  }
  findNext(*editor_, ui_, options());
}

void ReplaceTool::ReplaceAll() {
  const int count = replaceAll(*editor_->document(), options(), dialog_->replaceText());
  editor_->ensureCursorVisible();
  showMessage(ui_, dialog_, QStringLiteral("%1 箇所を置換しました。").arg(count));
}

} // namespace kavrin
