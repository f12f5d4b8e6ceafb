#include "basic/form_commands.h"

#include "basic/text_edits.h"
#include "logic/converter_command.h"
#include "logic/renumber.h"
#include "logic/source_form.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "platform/user_interface.h"
#include "widgets/basic_dialogs.h"
#include "widgets/line_errors.h"
#include "widgets/program_editor.h"
#include "widgets/session.h"

#include <QAbstractUndoItem>
#include <QAction>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextDocument>

#include <numeric>

namespace kavrin::basic {
namespace {

// The tools that number lines, which the build does in a source document.
const char *const kNumberingTools[] = {"renumber", "sortLines", "moveLines"};

// The form rides on the undo stack with a conversion's text: undone, the
// document is in its old form again; redone, in the new one.
class FormStep : public QAbstractUndoItem {
public:
  FormStep(Session &session, bool source, bool onRedo)
      : session_(session), source_(source), onRedo_(onRedo) {}
  void undo() override {
    if (!onRedo_) {
      session_.setSourceForm(source_);
    }
  }
  void redo() override {
    if (onRedo_) {
      session_.setSourceForm(source_);
    }
  }

private:
  Session &session_;
  bool source_;
  bool onRedo_;
};

// The first kept line from `line` on, else the last text line.
int caretAfter(const std::vector<int> &newLineOf, int line, int lines) {
  for (size_t i = static_cast<size_t>(std::max(line, 0)); i < newLineOf.size(); ++i) {
    if (newLineOf[i] >= 0) {
      return newLineOf[i];
    }
  }
  return lines;
}

} // namespace

FormCommands::FormCommands(const FeatureContext &context) : WindowFeature(context) {
  labelForm_ = addCommand("toLabelForm", QStringLiteral("ラベル形式に変換(&B)"), &FormCommands::toLabelForm);
  sourceOnly_ = {
      addCommand("toNumberedForm", QStringLiteral("行番号形式に変換(&N)"), &FormCommands::toNumberedForm),
      addCommand("saveNumbered", QStringLiteral("番号付きで保存(&U)..."), &FormCommands::saveNumbered)};
  rename_ = addCommand("renameLabel", QStringLiteral("ラベル名の変更(&N)..."), &FormCommands::renameLabel,
                       Qt::Key_F2);
  connect(&session(), &Session::formChanged, this, &FormCommands::formChanged);
  connect(editor(), &QPlainTextEdit::cursorPositionChanged, this,
          [this] { rename_->setEnabled(!labelAtCaret().isEmpty()); });
  formChanged();
}

QString FormCommands::labelAtCaret() const {
  if (!session().sourceForm()) {
    return {};
  }
  const QTextCursor caret = editor()->textCursor();
  const QString line = caret.block().text();
  return labelAt(line, caret.positionInBlock(), session().keywordMatcher()).toString();
}

void FormCommands::renameLabel() {
  const QString from = labelAtCaret();
  if (from.isEmpty()) {
    return;
  }
  if (renameDialog_ == nullptr) {
    renameDialog_ = new LabelNameDialog(window());
  }
  renameDialog_->name()->setText(from);
  renameDialog_->name()->selectAll();
  renameDialog_->name()->setFocus();
  if (ui().execModal(*renameDialog_) != QDialog::Accepted) {
    return;
  }
  const QString old = editor()->text();
  const RenamedLabel renamed =
      basic::renameLabel(old, from, renameDialog_->name()->text().trimmed(), session().keywordMatcher());
  if (!renamed.refusal.isEmpty()) {
    message(renamed.refusal);
    return;
  }
  // Every line stays where it is.
  std::vector<int> sameLines(static_cast<size_t>(editor()->blockCount()));
  std::iota(sameLines.begin(), sameLines.end(), 0);
  replaceText(*editor(), old, renamed.text, sameLines, editor()->textCursor().blockNumber());
}

void FormCommands::formChanged() {
  const bool source = session().sourceForm();
  labelForm_->setEnabled(!source);
  rename_->setEnabled(!labelAtCaret().isEmpty());
  for (QAction *item : sourceOnly_) {
    item->setEnabled(source);
  }
  for (const char *name : kNumberingTools) {
    if (auto *tool = window()->findChild<QAction *>(QString::fromLatin1(name))) {
      tool->setEnabled(!source);
      tool->setToolTip(source ? QStringLiteral("ソース形式では行番号はビルドが振るため、使えません")
                              : QString());
    }
  }
}

void FormCommands::toLabelForm() {
  const QString old = editor()->text();
  const LabelForm form =
      basic::toLabelForm(old, session().keywordMatcher(), session().preferences().autoIncrement);
  if (!form.refusals.empty()) {
    showLineErrors(
        context(), form.refusals,
        QStringLiteral("ラベル形式に変換できません。%1 件の問題があります。").arg(form.refusals.size()));
    return;
  }
  // A line break at the end makes an empty last block, which no line became.
  std::vector<int> newLineOf = form.newLineOf;
  newLineOf.resize(static_cast<size_t>(old.count(u'\n') + 1), -1);
  convert(old, form.text, newLineOf, form.lineCount, true);
}

void FormCommands::convert(const QString &old, const QString &text, const std::vector<int> &newLineOf,
                           int lines, bool source) {
  QTextDocument *document = editor()->document();
  QTextCursor step(document);
  step.beginEditBlock();
  document->appendUndoItem(new FormStep(session(), !source, false));
  replaceText(*editor(), old, text, newLineOf,
              caretAfter(newLineOf, editor()->textCursor().blockNumber(), lines));
  document->appendUndoItem(new FormStep(session(), source, true));
  step.endEditBlock();
  session().setSourceForm(source);
}

std::optional<BuiltProgram> FormCommands::build(const QString &text) {
  BuiltProgram built = buildProgram(text, session().keywordMatcher(), session().preferences().autoIncrement);
  if (built.refused()) {
    showLineErrors(context(), built.refusals, QStringLiteral("行番号形式にできません。"));
    return std::nullopt;
  }
  return built;
}

void FormCommands::toNumberedForm() {
  const QString old = editor()->text();
  const std::optional<BuiltProgram> built = build(old);
  if (!built) {
    return;
  }
  // A built line goes where its first source line was; its continuations,
  // labels, comments and blank lines go.
  std::vector<int> newLineOf(static_cast<size_t>(old.count(u'\n') + 1), -1);
  for (size_t k = 0; k < built->lineCount(); ++k) {
    newLineOf[static_cast<size_t>(built->firstSourceLine(k))] = static_cast<int>(k);
  }
  convert(old, built->text, newLineOf, static_cast<int>(built->lineCount()), false);
}

void FormCommands::saveNumbered() {
  const std::optional<BuiltProgram> built = build(editor()->text());
  if (!built) {
    return;
  }
  const EncodedProgram encoded = encodeProgram(*built);
  if (encoded.refusal) {
    showLineErrors(context(), {*encoded.refusal}, QStringLiteral("番号付きで保存できません。"));
    return;
  }
  FileDialog &dialog = session().saveDialog();
  dialog.filter = QStringLiteral("BASIC プログラム (*.bas)|*.bas|すべてのファイル (*.*)|*.*");
  dialog.title = QStringLiteral("番号付きで保存");
  dialog.defaultExt = QStringLiteral("bas");
  dialog.askBeforeReplacing = true;
  if (!session().fileName().isEmpty()) {
    dialog.fileName = withExtension(session().fileName(), u".bas");
  }
  if (!ui().execSaveDialog(window(), dialog)) {
    return;
  }
  if (sameFile(dialog.fileName, session().fileName())) {
    throw Error(QStringLiteral("ソースのファイルには保存できません。別の名前を指定してください。"));
  }
  writeFileAtomically(dialog.fileName, encoded.bytes);
}

} // namespace kavrin::basic
