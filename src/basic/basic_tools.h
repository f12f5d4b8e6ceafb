#pragma once

#include "logic/basic_reader.h"
#include "logic/check_rules.h"
#include "logic/renumber.h"
#include "widgets/window_feature.h"

#include <QColor>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace kavrin {
enum class ResultTab;
class JumpHistory;
class LineMarks;
class LineNumberDialog;
class RenumberDialog;
class ResultPanel;
} // namespace kavrin

namespace kavrin::basic {

class KeptCheck;
struct Finding;

// The BASIC program tools: go to a line number, renumber, sort, the program
// check and keyword colours.  The logic lives in the widget-free units;
// this class asks for values, applies results to the editor and reports.
class BasicTools : public WindowFeature {
  Q_OBJECT

public:
  explicit BasicTools(const FeatureContext &context);

  // The places jumped from: going to a line and choosing a finding leave
  // one behind.
  JumpHistory &history() const { return *history_; }

  void readSettings(const SettingValues &values) override;
  void writeSettings(SettingValues &values) const override;

  void goToLine();
  void renumberLines();
  std::optional<RenumberRequest> typedRenumber(QString &why) const;
  void sortProgram();
  // Checks the program and lists the findings in the panel's 検査 tab,
  // shown and focused on the first row; from then on the check is kept
  // current after each pause in typing.
  void checkProgram();
  // Takes the findings of a check: the marks in the text follow them, and
  // the 検査 tab, if the panel was made, is updated where it is, without
  // being shown or focused, keeping its current row.
  void refreshCheck(const std::vector<Finding> &findings);
  // What keeps the check current; null before the first check.
  KeptCheck *keptCheck() const { return kept_; }

  // 修正 (Ctrl+.), or すべて修正 (Ctrl+Shift+.): the fixes of every fixable
  // finding of a line, or of the whole program, as one undo step.  The line
  // is the check tab's current row's, or from the editor the caret's.
  void fixFinding(bool wholeProgram, bool inEditor = false);

private:
  // Checks the text now with the mode's keywords and the rules on, and has
  // the kept check use them from now on.
  void checkNow();
  void addFixActions(ResultPanel *panel);
  // The fixable findings a key fixes, each as its line and rule, as
  // fixFinding tells.
  std::vector<std::pair<int, CheckRule>> findingsToFix(bool wholeProgram, bool inEditor) const;
  void applyMarking();
  void applyColours();

  ProgramEditor *editor_;
  QAction *colours_ = nullptr;
  RenumberDialog *renumberDialog_ = nullptr;
  LineNumberDialog *lineDialog_ = nullptr;
  JumpHistory *history_;
  KeptCheck *kept_ = nullptr;
  // The lines with findings, marked in the text.
  LineMarks *findingLines_ = nullptr;
  KeywordMatcher matcher_;
  // The keywords the check reads by; made again after the mode changes.
  std::shared_ptr<const KeywordMatcher> checkWords_;
};

} // namespace kavrin::basic
