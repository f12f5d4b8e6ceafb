#pragma once

#include "logic/basic_reader.h"
#include "widgets/window_feature.h"

#include <QColor>

namespace kavrin {
enum class ResultTab;
class JumpHistory;
class LineNumberDialog;
class RenumberDialog;
} // namespace kavrin

namespace kavrin::basic {

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
  void sortProgram();
  // Lists the findings in the panel's 検査 tab, shown and focused on the
  // first row.
  void checkProgram();
  // Runs the check again into the 検査 tab as it stands, shown or not and
  // keeping its current row: for a re-run after the user's edits.  Nothing
  // while the panel was never made.
  void refreshCheck();

private:
  void presentCheck();
  void showFinding(ResultTab tab, int row);
  void applyColours();

  ProgramEditor *editor_;
  QAction *colours_ = nullptr;
  RenumberDialog *renumberDialog_ = nullptr;
  LineNumberDialog *lineDialog_ = nullptr;
  JumpHistory *history_;
  KeywordMatcher matcher_;
};

} // namespace kavrin::basic
