#include "basic/basic_tools.h"

#include "basic/kept_check.h"
#include "basic/line_jumps.h"
#include "basic/text_edits.h"
#include "logic/keyword_palette.h"
#include "logic/line_fixes.h"
#include "logic/line_lookup.h"
#include "logic/program_check.h"
#include "logic/renumber.h"
#include "logic/settings_table.h"
#include "logic/sort_lines.h"
#include "logic/source_form.h"
#include "platform/user_interface.h"
#include "widgets/basic_dialogs.h"
#include "widgets/jump_history.h"
#include "widgets/line_marks.h"
#include "widgets/panel_host.h"
#include "widgets/program_editor.h"
#include "widgets/result_panel.h"
#include "widgets/session.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
#include <memory>
#include <numeric>

namespace kavrin::basic {
namespace {

// A whole number of at least `least`, as typed.
bool readField(const QLineEdit *field, int least, int &value) {
  const std::optional<int> typed = parseWholeNumber(field->text());
  value = typed.value_or(0);
  return typed && value >= least;
}

QTextCharFormat foreground(const QColor &color) {
  QTextCharFormat format;
  format.setForeground(color);
  return format;
}

} // namespace

BasicTools::BasicTools(const FeatureContext &context)
    : WindowFeature(context), editor_(context.editor), history_(new JumpHistory(context.editor, this)) {
  addCommand("goToLine", QStringLiteral("行番号へ移動(&G)..."), &BasicTools::goToLine, Qt::CTRL | Qt::Key_G);
  colours_ =
      addCommand("keywordColours", QStringLiteral("キーワードの色分け(&K)"), &BasicTools::applyColours);
  colours_->setCheckable(true);
  connect(colours_, &QAction::triggered, this, &BasicTools::settingChanged);
  addCommand("renumber", QStringLiteral("番号の振り直し(&R)..."), &BasicTools::renumberLines);
  addCommand("sortLines", QStringLiteral("行番号順に整列(&L)"), &BasicTools::sortProgram);
  addCommand("checkProgram", QStringLiteral("プログラムの検査(&K)"), &BasicTools::checkProgram);
  // Rules turned on or off, another mode's keywords, or the other form,
  // take effect on a check the user has run.
  for (const auto signal : {&Session::preferencesChanged, &Session::formChanged}) {
    connect(&session(), signal, this, [this] {
      if (kept_ != nullptr) {
        checkNow();
      }
    });
  }
  connect(&session(), &Session::formChanged, this, &BasicTools::applyColours);
  // A new keyword list or background takes new colours.
  connect(&session(), &Session::keywordsChanged, this, [this] {
    checkWords_.reset();
    applyColours();
    if (kept_ != nullptr) {
      checkNow();
    }
  });
  connect(editor_, &ProgramEditor::colorChanged, this, [this] {
    applyColours();
    if (kept_ != nullptr) {
      applyMarking();
    }
  });
  connect(&panels(), &PanelHost::created, this, &BasicTools::addFixActions);
}

void BasicTools::readSettings(const SettingValues &values) {
  colours_->setChecked(values.number(Setting::Highlight) != 0);
  applyColours();
}

void BasicTools::writeSettings(SettingValues &values) const {
  values.set(Setting::Highlight, colours_->isChecked() ? 1 : 0);
}

void BasicTools::goToLine() {
  if (lineDialog_ == nullptr) {
    lineDialog_ = new LineNumberDialog(window());
  }
  lineDialog_->number()->selectAll();
  lineDialog_->number()->setFocus();
  if (ui().execModal(*lineDialog_) != QDialog::Accepted) {
    return;
  }
  const QString input = lineDialog_->number()->text();
  LineNumber number;
  if (!parseLineNumber(input, number)) {
    message(QStringLiteral("「%1」は行番号ではありません。").arg(input));
    return;
  }
  const std::optional<BuiltProgram> built = session().numberedBuild(editor_->text());
  if (!goToNumberedLine(*editor_, *history_, ui(), number, true, built ? &*built : nullptr)) {
    message(QStringLiteral("行 %1 はありません").arg(number.toString()));
  }
}

// The request typed in the dialog, or why it cannot be one.
std::optional<RenumberRequest> BasicTools::typedRenumber(QString &why) const {
  RenumberRequest request;
  LineNumber oldStart;
  const QString oldStartText = renumberDialog_->oldStart()->text();
  const bool fromFirst = oldStartText.trimmed().isEmpty();
  if (!readField(renumberDialog_->newStart(), 1, request.newStart) ||
      !readField(renumberDialog_->increment(), 1, request.increment) ||
      (!fromFirst && !parseLineNumber(oldStartText, oldStart))) {
    why = QStringLiteral("開始番号と増分は 1 以上の整数で、最初の行は 0 以上の整数で指定してください。");
    return std::nullopt;
  }
  if (!fromFirst) {
    request.oldStart = oldStart;
  }
  const QString oldEndText = renumberDialog_->oldEnd()->text();
  LineNumber oldEnd;
  if (!oldEndText.trimmed().isEmpty()) {
    if (!parseLineNumber(oldEndText, oldEnd)) {
      why = QStringLiteral("最後の旧行番号は 0 以上の整数で指定してください。");
      return std::nullopt;
    }
    request.oldEnd = oldEnd;
  }
  return request;
}

void BasicTools::renumberLines() {
  if (renumberDialog_ == nullptr) {
    renumberDialog_ = new RenumberDialog(window());
  }
  renumberDialog_->newStart()->setFocus();
  renumberDialog_->newStart()->selectAll();
  std::optional<RenumberRequest> typed;
  // A refused entry shows the dialog again with what was typed.
  while (!typed) {
    if (ui().execModal(*renumberDialog_) != QDialog::Accepted) {
      return;
    }
    QString why;
    typed = typedRenumber(why);
    if (!typed) {
      message(why);
    }
  }
  const RenumberRequest request = *typed;
  const QString text = editor_->text();
  const RenumberResult result = renumber(text, request, session().keywordMatcher());
  if (!result.error.isEmpty()) {
    message(result.error);
    return;
  }
  // Renumbering keeps every line where it is.
  std::vector<int> sameLines(static_cast<std::size_t>(editor_->blockCount()));
  std::iota(sameLines.begin(), sameLines.end(), 0);
  replaceText(*editor_, text, result.text, sameLines, editor_->textCursor().blockNumber());
  message(renumberReport(result));
}

void BasicTools::sortProgram() {
  const QString text = editor_->text();
  const SortResult result = sortLines(text);
  if (result.changed) {
    // The empty line after a final line break is no line of the text: a
    // caret there stays at the end.
    const int caret = editor_->textCursor().blockNumber();
    const int moved = caret < static_cast<int>(result.newLineOf.size()) ? std::max(result.newLineOf[caret], 0)
                                                                        : editor_->blockCount();
    replaceText(*editor_, text, result.text, result.newLineOf, moved);
  }
  message(sortReport(result));
}

void BasicTools::checkProgram() {
  if (kept_ == nullptr) {
    findingLines_ = new LineMarks(editor_->document(), this);
    kept_ = new KeptCheck(
        editor_, [this](const std::vector<Finding> &findings) { refreshCheck(findings); }, this);
    applyMarking();
  }
  kept_->start();
  // The panel is made here at the latest: a re-run only updates it.
  panels().panel();
  checkNow();
  panels().panel()->focusRow(ResultTab::Check, 0);
}

void BasicTools::checkNow() {
  if (checkWords_ == nullptr) {
    checkWords_ = std::make_shared<const KeywordMatcher>(session().keywords());
  }
  const CheckOptions &options = session().preferences().check;
  const int sourceStep = session().sourceForm() ? std::max(session().preferences().autoIncrement, 1) : 0;
  kept_->setRules(checkWords_, options, sourceStep);
  refreshCheck(checkDocument(editor_->text(), *checkWords_, options, sourceStep));
}

void BasicTools::refreshCheck(const std::vector<Finding> &findings) {
  findingLines_->clear();
  QList<ResultRow> rows;
  rows.reserve(static_cast<qsizetype>(findings.size()));
  int marked = -1;
  QStringList notes;
  const CheckOptions &options = session().preferences().check;
  for (const Finding &finding : findings) {
    if (!options.enabled(finding.rule)) {
      continue;
    }
    if (finding.line < 0) {
      notes << finding.message;
      continue;
    }
    rows.push_back({finding.message, finding.line, std::nullopt});
    rows.back().rule = finding.rule;
    rows.back().kind = finding.error ? ResultRow::Kind::Error : ResultRow::Kind::Warning;
    rows.back().named = finding.where;
    if (finding.line != marked) {
      marked = finding.line;
      findingLines_->mark(marked);
    }
  }
  editor_->recolour();
  if (ResultPanel *panel = panels().existing()) {
    panel->present(ResultTab::Check, rows,
                   (rows.isEmpty() ? QStringLiteral("プログラムに問題はありません。")
                                   : QStringLiteral("%1 件の問題があります。").arg(rows.size())) +
                       notes.join(u'。'));
  }
}

void BasicTools::addFixActions(ResultPanel *panel) {
  QListView *view = panel->view(ResultTab::Check);
  const struct {
    const char *name;
    const char *caption;
    QKeySequence key;
    bool wholeProgram;
  } items[] = {{"fixFinding", "修正", Qt::CTRL | Qt::Key_Period, false},
               {"fixAll", "すべて修正", Qt::CTRL | Qt::SHIFT | Qt::Key_Period, true}};
  for (const auto &item : items) {
    // On the list for its current row; in the editor for the caret's line,
    // reached by F8 or by hand.
    for (QWidget *owner : {static_cast<QWidget *>(view), static_cast<QWidget *>(editor_)}) {
      auto *action = new QAction(QString::fromUtf8(item.caption), owner);
      action->setObjectName(QString::fromLatin1(item.name));
      action->setShortcut(item.key);
      action->setShortcutContext(Qt::WidgetShortcut);
      owner->addAction(action);
      connect(action, &QAction::triggered, this,
              [this, whole = item.wholeProgram, inEditor = owner == editor_] {
                guard([&] { fixFinding(whole, inEditor); });
              });
    }
  }
  view->setContextMenuPolicy(Qt::ActionsContextMenu);
  // Offered only where there is something to fix: 修正 on the current row's
  // line, すべて修正 anywhere.
  const auto offer = [panel, view] {
    const ResultRows &rows = panel->rows(ResultTab::Check);
    const int current = panel->currentRow(ResultTab::Check);
    const int line = current < 0 ? -1 : rows.lineOf(current);
    // A line's rows stand together: F8 over many rows asks only its own.
    const auto fixableOnLine = [&rows, line](int row, int step) {
      for (; row >= 0 && row < rows.rowCount() && rows.lineOf(row) == line; row += step) {
        if (hasFix(rows.ruleOf(row))) {
          return true;
        }
      }
      return false;
    };
    bool any = false;
    for (int row = 0; row < rows.rowCount() && !any; ++row) {
      any = hasFix(rows.ruleOf(row));
    }
    const QList<QAction *> actions = view->actions();
    actions.value(0)->setEnabled(line >= 0 && (fixableOnLine(current, 1) || fixableOnLine(current - 1, -1)));
    actions.value(1)->setEnabled(any);
  };
  offer();
  connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this, offer);
  connect(view->model(), &QAbstractItemModel::modelReset, this, offer);
}

std::vector<std::pair<int, CheckRule>> BasicTools::findingsToFix(bool wholeProgram, bool inEditor) const {
  const ResultPanel *panel = panels().existing();
  if (panel == nullptr) {
    return {};
  }
  const ResultRows &rows = panel->rows(ResultTab::Check);
  int line = -1;
  if (inEditor) {
    line = editor_->textCursor().blockNumber();
  } else if (const int current = panel->currentRow(ResultTab::Check); current >= 0) {
    line = rows.lineOf(current);
  }
  std::vector<std::pair<int, CheckRule>> fixes;
  if (!wholeProgram && line < 0) {
    return fixes;
  }
  for (int row = 0; row < rows.rowCount(); ++row) {
    if (hasFix(rows.ruleOf(row))) {
      const int at = rows.lineOf(row);
      if (at >= 0 && (wholeProgram || at == line)) {
        fixes.emplace_back(at, rows.ruleOf(row));
      }
    }
  }
  return fixes;
}

void BasicTools::fixFinding(bool wholeProgram, bool inEditor) {
  const std::vector<std::pair<int, CheckRule>> fixes = findingsToFix(wholeProgram, inEditor);
  if (fixes.empty()) {
    ui().beep(); // nothing to fix here, or its line is gone
    return;
  }
  const QString old = editor_->text();
  QStringList lines = old.split(u'\n');
  for (const auto &[line, rule] : fixes) {
    lines[line] = fixLine(lines[line], rule, *checkWords_);
  }
  const QString fixed = lines.join(u'\n');
  if (fixed == old) {
    ui().beep(); // the line was fixed by hand since the check
    return;
  }
  // A fix keeps every line where it is.
  std::vector<int> sameLines(static_cast<std::size_t>(lines.size()));
  std::iota(sameLines.begin(), sameLines.end(), 0);
  replaceText(*editor_, old, fixed, sameLines, editor_->textCursor().blockNumber());
}

void BasicTools::applyMarking() {
  QTextCharFormat format;
  format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
  format.setUnderlineColor(findingColour(editor_->palette().color(QPalette::Base)));
  editor_->setLineMarking([this, format](const QTextBlock &block, QList<QTextLayout::FormatRange> &out) {
    if (findingLines_->marks(block)) {
      const MarkedSpan span = markedSpan(block.text());
      if (span.length > 0) {
        out.push_back({static_cast<int>(span.start), static_cast<int>(span.length), format});
      }
    }
  });
}

void BasicTools::applyColours() {
  if (!colours_->isChecked()) {
    editor_->setLineColouring({});
    return;
  }
  matcher_ = KeywordMatcher(session().keywords());
  const KeywordPalette palette = keywordPalette(editor_->palette().color(QPalette::Base));
  // In the order of SpanKind.
  const std::array<QTextCharFormat, 6> formats{
      foreground(palette.lineNumber), foreground(palette.keyword), foreground(palette.string),
      foreground(palette.comment),    foreground(palette.label),   foreground(palette.sourceComment)};
  const auto spans =
      session().sourceForm() ? &sourceColourSpans : [](QStringView line, const KeywordMatcher &words) {
        return colourSpans(line, words);
      };
  editor_->setLineColouring([this, formats, spans](QStringView line, QList<QTextLayout::FormatRange> &out) {
    for (const Span &span : spans(line, matcher_)) {
      out.push_back({static_cast<int>(span.start), static_cast<int>(span.length),
                     formats[static_cast<std::size_t>(span.kind)]});
    }
  });
}

} // namespace kavrin::basic
