#include "widgets/line_errors.h"

#include "logic/line_number.h"
#include "platform/user_interface.h"
#include "widgets/panel_host.h"
#include "widgets/program_editor.h"
#include "widgets/result_panel.h"
#include "widgets/window_feature.h"

#include <QTextBlock>
#include <QTextCursor>

namespace kavrin {

void showLineErrors(const FeatureContext &context, const std::vector<basic::LineError> &errors,
                    const QString &summary) {
  if (errors.empty()) {
    return;
  }
  ProgramEditor &editor = *context.editor;
  QList<ResultRow> rows;
  for (const basic::LineError &error : errors) {
    rows.push_back({error.message, error.line, std::nullopt});
    rows.back().kind = ResultRow::Kind::Error;
    rows.back().named = basic::lineLabel(editor.document()->findBlockByNumber(error.line).text(), error.line);
  }
  ResultPanel &panel = *context.panels.panel();
  panel.present(ResultTab::Check, rows, summary);
  panel.showTab(ResultTab::Check);
  panel.setCurrentRow(ResultTab::Check, 0);
  const basic::LineError &first = errors.front();
  QTextCursor caret(editor.document()->findBlockByNumber(first.line));
  editor.setTextCursor(caret);
  editor.ensureCursorVisible();
  showMessage(context.ui, context.window,
              summary + QStringLiteral("\n%1 行目: %2").arg(first.line + 1).arg(first.message));
}

} // namespace kavrin
