#include "basic/jump_commands.h"

#include "basic/line_jumps.h"
#include "logic/basic_reader.h"
#include "logic/line_references.h"
#include "logic/source_form.h"
#include "platform/user_interface.h"
#include "widgets/jump_history.h"
#include "widgets/line_marks.h"
#include "widgets/panel_host.h"
#include "widgets/program_editor.h"
#include "widgets/result_panel.h"
#include "widgets/session.h"

#include <QAction>
#include <QTextBlock>

namespace kavrin::basic {

JumpCommands::JumpCommands(const FeatureContext &context, JumpHistory &history)
    : WindowFeature(context), history_(history), referred_(new LineMarks(editor()->document(), this)) {
  addCommand("jumpToReference", QStringLiteral("参照先へ移動(&J)"), &JumpCommands::jumpToReference,
             Qt::Key_F12);
  addCommand("showReferences", QStringLiteral("この行への参照(&L)..."), &JumpCommands::showReferences,
             Qt::SHIFT | Qt::Key_F12);
  back_ = addCommand("back", QStringLiteral("戻る(&B)"), &JumpCommands::goBack, Qt::ALT | Qt::Key_Left);
  forward_ =
      addCommand("forward", QStringLiteral("進む(&W)"), &JumpCommands::goForward, Qt::ALT | Qt::Key_Right);
  connect(&history_, &JumpHistory::changed, this, &JumpCommands::updateTravel);
  connect(referred_, &LineMarks::rewriteFollowed, this, &JumpCommands::nameReferredLine);
  updateTravel();
}

LineForm JumpCommands::form() const { return session().sourceForm() ? LineForm::Source : LineForm::Numbered; }

void JumpCommands::jumpToReference() {
  const QTextCursor caret = editor()->textCursor();
  const QString text = caret.block().text();
  const std::optional<LineReference> reference =
      referenceAt(text, caret.positionInBlock(), session().keywordMatcher(), form());
  if (!reference) {
    ui().beep();
    return;
  }
  if (reference->isLabel()) {
    jumpToLabel(reference->label);
    return;
  }
  if (reference->isBound()) {
    jumpToBound(reference->target);
  } else if (!goToNumberedLine(*editor(), history_, ui(), reference->target)) {
    message(QStringLiteral("行 %1 はありません").arg(reference->target.toString()));
  }
}

// ERL<50 names no line that must be there: the line it bounds is the first
// at or above it, in a source by the numbers the build gives.
void JumpCommands::jumpToBound(const LineNumber &target) {
  const QString bound = target.toString();
  const std::optional<BuiltProgram> built = session().numberedBuild(editor()->text());
  const QString program = built ? built->text : editor()->text();
  const std::optional<int> found =
      goToNumberedLine(*editor(), history_, ui(), target, false, built ? &*built : nullptr);
  if (!found) {
    message(QStringLiteral("%1 は ERL の境目です。%1 以上の行はありません。").arg(bound));
    return;
  }
  const QString line = readLineNumber(program.section(u'\n', *found, *found)).number.toString();
  message(QStringLiteral("%1 は ERL の境目です。%1 以上の最初の行は 行 %2 です。").arg(bound, line));
}

void JumpCommands::jumpToLabel(QStringView name) {
  const int line = labelLine(editor()->text(), name);
  if (line < 0) {
    message(QStringLiteral("ラベル *%1 はありません").arg(name));
    return;
  }
  history_.remember();
  editor()->selectLine(line, false);
}

namespace {

// In a source, the labels that name the line of `block`: itself a label
// line, or the label lines above it, past blank and comment lines.
QStringList labelsNaming(const QTextBlock &block) {
  if (const QString text = block.text(); !labelDefinedBy(text).isEmpty()) {
    return {labelDefinedBy(text).toString()};
  }
  QStringList labels;
  for (QTextBlock above = block.previous(); above.isValid(); above = above.previous()) {
    const QString text = above.text();
    if (const QStringView label = labelDefinedBy(text); !label.isEmpty()) {
      labels.prepend(label.toString());
    } else if (!isBlankText(text) && !text.trimmed().startsWith(u'\'')) {
      break;
    }
  }
  return labels;
}

} // namespace

void JumpCommands::showReferences() {
  const QTextBlock block = editor()->textCursor().block();
  const ProgramLine here = readLineNumber(block.text());
  const QStringList labels = form() == LineForm::Source ? labelsNaming(block) : QStringList();
  if (!here.isProgram && labels.isEmpty()) {
    message(form() == LineForm::Source ? QStringLiteral("この行には行番号もラベルもありません。")
                                       : QStringLiteral("この行には行番号がありません。"));
    return;
  }
  const QString all = editor()->text();
  std::vector<int> lines;
  QStringList names;
  if (here.isProgram) {
    lines = linesReferringTo(all, here.number, session().keywordMatcher(), form());
    names << QStringLiteral("行 ") + here.number.toString();
  }
  for (const QString &label : labels) {
    const std::vector<int> uses =
        linesReferringTo(all, here.number, session().keywordMatcher(), form(), label);
    lines.insert(lines.end(), uses.begin(), uses.end());
    names << u'*' + label;
  }
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  const QString name = names.join(QStringLiteral("、"));
  if (lines.empty()) {
    message(QStringLiteral("%1 を参照している行はありません。").arg(name));
    return;
  }
  QList<ResultRow> rows;
  rows.reserve(static_cast<qsizetype>(lines.size()));
  for (const int line : lines) {
    rows.push_back({editor()->document()->findBlockByNumber(line).text(), line, std::nullopt, true, true});
  }
  referred_->clear();
  referred_->mark(editor()->textCursor().blockNumber());
  listed_ = static_cast<int>(rows.size());
  ResultPanel *panel = panels().panel();
  panel->present(ResultTab::References, rows, referencesSummary(name));
  panel->focusRow(ResultTab::References, 0);
}

QString JumpCommands::referencesSummary(const QString &name) const {
  return QStringLiteral("%1 を参照している行: %2 行").arg(name).arg(listed_);
}

void JumpCommands::nameReferredLine() {
  ResultPanel *panel = panels().existing();
  const int line = referred_->count() > 0 ? referred_->lineOf(0) : -1;
  const QString text = editor()->document()->findBlockByNumber(line).text();
  const ProgramLine read = readLineNumber(text);
  // A renamed label is named anew too.
  const QStringView label = form() == LineForm::Source ? labelDefinedBy(text) : QStringView();
  if (panel != nullptr && line >= 0 && (read.isProgram || !label.isEmpty())) {
    panel->setSummary(ResultTab::References,
                      referencesSummary(label.isEmpty() ? QStringLiteral("行 ") + read.number.toString()
                                                        : u'*' + label.toString()));
  }
}

void JumpCommands::goBack() { history_.back(); }

void JumpCommands::goForward() { history_.forward(); }

void JumpCommands::updateTravel() {
  back_->setEnabled(history_.canGoBack());
  forward_->setEnabled(history_.canGoForward());
}

} // namespace kavrin::basic
