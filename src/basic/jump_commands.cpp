#include "basic/jump_commands.h"

#include "logic/line_lookup.h"
#include "logic/line_references.h"
#include "platform/user_interface.h"
#include "widgets/basic_dialogs.h"
#include "widgets/jump_history.h"
#include "widgets/program_editor.h"

#include <QAction>
#include <QTextBlock>

namespace kavrin::basic {

JumpCommands::JumpCommands(const FeatureContext &context, JumpHistory &history)
    : WindowFeature(context), history_(history) {
  addCommand("jumpToReference", QStringLiteral("参照先へ移動(&J)"), &JumpCommands::jumpToReference,
             Qt::Key_F12);
  addCommand("showReferences", QStringLiteral("この行への参照(&L)..."), &JumpCommands::showReferences,
             Qt::SHIFT | Qt::Key_F12);
  back_ = addCommand("back", QStringLiteral("戻る(&B)"), &JumpCommands::goBack, Qt::ALT | Qt::Key_Left);
  forward_ =
      addCommand("forward", QStringLiteral("進む(&W)"), &JumpCommands::goForward, Qt::ALT | Qt::Key_Right);
  connect(&history_, &JumpHistory::changed, this, &JumpCommands::updateTravel);
  updateTravel();
}

void JumpCommands::jumpToReference() {
  const QTextCursor caret = editor()->textCursor();
  const std::optional<LineReference> reference = referenceAt(caret.block().text(), caret.positionInBlock());
  if (!reference) {
    ui().beep();
    return;
  }
  const LineLookup found = findProgramLine(editor()->text(), reference->target);
  if (found.line < 0) {
    message(QStringLiteral("行 %1 はありません").arg(reference->target.toString()));
    return;
  }
  history_.remember();
  editor()->selectLine(found.line, false);
  if (!found.exact) {
    ui().beep();
  }
}

void JumpCommands::showReferences() {
  const ProgramLine here = readLineNumber(editor()->textCursor().block().text());
  if (!here.isProgram) {
    message(QStringLiteral("この行には行番号がありません。"));
    return;
  }
  const std::vector<int> lines = linesReferringTo(editor()->text(), here.number);
  const QString number = here.number.toString();
  if (lines.empty()) {
    message(QStringLiteral("行 %1 を参照している行はありません。").arg(number));
    return;
  }
  if (references_ == nullptr) {
    references_ = new LineListWindow(window(), QStringLiteral("この行への参照"), editor()->document());
    connect(references_, &LineListWindow::rowActivated, this,
            [this](int row) { guard([&] { showReferrer(row); }); });
  }
  QList<LineListWindow::Item> items;
  items.reserve(static_cast<qsizetype>(lines.size()));
  for (const int line : lines) {
    items.push_back({line, editor()->document()->findBlockByNumber(line).text()});
  }
  references_->present(items, QStringLiteral("行 %1 を参照している行: %2 行").arg(number).arg(items.size()));
}

void JumpCommands::showReferrer(int row) {
  const int line = references_->lineOf(row);
  if (line < 0) {
    message(QStringLiteral("この参照の行は削除されました。"));
    return;
  }
  history_.remember();
  editor()->selectLine(line, true);
}

void JumpCommands::goBack() { history_.back(); }

void JumpCommands::goForward() { history_.forward(); }

void JumpCommands::updateTravel() {
  back_->setEnabled(history_.canGoBack());
  forward_->setEnabled(history_.canGoForward());
}

} // namespace kavrin::basic
