#include "editing/edit_commands.h"

#include "widgets/program_editor.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QTextDocument>

namespace kavrin {

EditCommands::EditCommands(const FeatureContext &context) : WindowFeature(context) {
  ProgramEditor *edit = editor();
  QAction *undo = addItem("undo", QStringLiteral("元に戻す(&U)"), Qt::CTRL | Qt::Key_Z);
  redo_ = addItem("redo", QStringLiteral("やり直し(&Y)"));
  redo_->setShortcuts({Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z});
  connect(undo, &QAction::triggered, edit, &QPlainTextEdit::undo);
  connect(redo_, &QAction::triggered, edit, &QPlainTextEdit::redo);
  connect(edit, &QPlainTextEdit::redoAvailable, redo_, &QAction::setEnabled);
  cut_ = addItem("cut", QStringLiteral("切り取り(&T)"), Qt::CTRL | Qt::Key_X);
  copy_ = addItem("copy", QStringLiteral("コピー(&C)"), Qt::CTRL | Qt::Key_C);
  paste_ = addItem("paste", QStringLiteral("貼り付け(&P)"), Qt::CTRL | Qt::Key_V);
  connect(addItem("selectAll", QStringLiteral("すべて選択(&A)"), Qt::CTRL | Qt::Key_A), &QAction::triggered,
          edit, &QPlainTextEdit::selectAll);
  cut_->setStatusTip(QStringLiteral("切り取り"));
  copy_->setStatusTip(QStringLiteral("コピー"));
  paste_->setStatusTip(QStringLiteral("貼り付け"));
  connect(cut_, &QAction::triggered, edit, &QPlainTextEdit::cut);
  connect(copy_, &QAction::triggered, edit, &QPlainTextEdit::copy);
  connect(paste_, &QAction::triggered, edit, &QPlainTextEdit::paste);
  connect(edit, &QPlainTextEdit::copyAvailable, this, &EditCommands::updateSelectionItems);
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &EditCommands::updatePasteItem);
  // Paste stays offered until the clipboard is asked: on X11 the answer
  // comes from the program that holds the clipboard, and start-up must not
  // wait for it (Qt waits up to five seconds for each question).
  updateSelectionItems();
  updateHistoryItems();
}

void EditCommands::started() {
  // The clipboard may have changed while another program had it.
  for (QObject *shownIn : paste_->associatedObjects()) {
    if (auto *menu = qobject_cast<QMenu *>(shownIn)) {
      connect(menu, &QMenu::aboutToShow, this, &EditCommands::updateSelectionItems);
      connect(menu, &QMenu::aboutToShow, this, &EditCommands::updatePasteItem);
      connect(menu, &QMenu::aboutToShow, this, &EditCommands::updateHistoryItems);
    }
  }
}

void EditCommands::updateSelectionItems() {
  const bool selected = editor()->textCursor().hasSelection();
  cut_->setEnabled(selected);
  copy_->setEnabled(selected);
}

void EditCommands::updatePasteItem() {
  const QMimeData *clip = QGuiApplication::clipboard()->mimeData();
  paste_->setEnabled(clip != nullptr && clip->hasText());
}

void EditCommands::updateHistoryItems() { redo_->setEnabled(editor()->document()->isRedoAvailable()); }

} // namespace kavrin
