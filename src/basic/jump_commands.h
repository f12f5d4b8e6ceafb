#pragma once

#include "logic/line_number.h"
#include "logic/line_tokens.h"
#include "widgets/window_feature.h"

namespace kavrin {
enum class ResultTab;
class JumpHistory;
class LineMarks;
} // namespace kavrin

namespace kavrin::basic {

// Following a program's jumps: to the line a reference names, the list of
// the lines that refer to the caret's line, and back and forth between the
// places jumped from.
class JumpCommands : public WindowFeature {
  Q_OBJECT

public:
  JumpCommands(const FeatureContext &context, JumpHistory &history);

  void jumpToReference();
  // Lists the lines referring to the caret's line in the panel's 参照 tab.
  void showReferences();

private:
  void goBack();
  void goForward();
  void updateTravel();
  // In a source document, the label named there.
  void jumpToLabel(QStringView name);
  void jumpToBound(const LineNumber &target);
  // `name`: 「行 120」 or a label's 「*NAME」.
  QString referencesSummary(const QString &name) const;
  LineForm form() const;
  // The 参照 tab's summary names the listed line by its number now.
  void nameReferredLine();

  JumpHistory &history_;
  // The line whose referring lines are listed, followed through rewrites
  // (renumber, moved lines), which rewrite the references too.
  LineMarks *referred_;
  int listed_ = 0;
  QAction *back_;
  QAction *forward_;
};

} // namespace kavrin::basic
