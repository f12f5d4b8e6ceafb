#pragma once

#include "app/window_feature.h"
#include "basic/basic_reader.h"

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
  explicit BasicTools(const WindowParts &parts);

  QAction *goToLineItem() const { return goToLine_; }
  QAction *renumberItem() const { return renumber_; }
  QAction *sortItem() const { return sort_; }
  QAction *checkItem() const { return check_; }
  QAction *coloursItem() const { return colours_; }
  CheckWindow *checkWindow() const { return checkWindow_; }

  void readSettings(const SettingValues &values) override;
  void writeSettings(SettingValues &values) const override;

  void GoToLineClick();
  void RenumberClick();
  void SortClick();
  void CheckClick();
  void ColoursClick();

private:
  void createItems(const WindowParts &parts);
  // Replaces the editor's text `old` by `text` as one undo step; the caret
  // goes to `caretLine`.
  void replaceText(const QString &old, const QString &text, int caretLine);
  void selectLine(int line, bool wholeLine);
  void showFinding(int row);
  void applyColours();
  void message(const QString &text);

  QWidget *window_;
  RichEdit *editor_;
  UserInterface &ui_;
  const QStringList &keywords_;
  QAction *goToLine_ = nullptr;
  QAction *renumber_ = nullptr;
  QAction *sort_ = nullptr;
  QAction *check_ = nullptr;
  QAction *colours_ = nullptr;
  RenumberDialog *renumberDialog_ = nullptr;
  LineNumberDialog *lineDialog_ = nullptr;
  CheckWindow *checkWindow_ = nullptr;
  // The lines of the findings, row by row.
  LineMarks *findingLines_ = nullptr;
  KeywordMatcher matcher_;
};

} // namespace kavrin::basic
