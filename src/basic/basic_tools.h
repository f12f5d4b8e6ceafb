#pragma once

#include "logic/basic_reader.h"
#include "widgets/window_feature.h"

#include <QColor>

namespace kavrin {
class CheckWindow;
class LineMarks;
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

  CheckWindow *checkWindow() const { return checkWindow_; }

  void readSettings(const SettingValues &values) override;
  void writeSettings(SettingValues &values) const override;

  void goToLine();
  void renumberLines();
  void sortProgram();
  void checkProgram();

private:
  void selectLine(int line, bool wholeLine);
  void showFinding(int row);
  void applyColours();

  ProgramEditor *editor_;
  QAction *colours_ = nullptr;
  RenumberDialog *renumberDialog_ = nullptr;
  LineNumberDialog *lineDialog_ = nullptr;
  CheckWindow *checkWindow_ = nullptr;
  // The lines of the findings, row by row.
  LineMarks *findingLines_ = nullptr;
  KeywordMatcher matcher_;
};

} // namespace kavrin::basic
