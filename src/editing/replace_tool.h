#pragma once

#include "app/window_feature.h"
#include "editing/text_search.h"

namespace kavrin {

class ReplaceDialog;

// Edit > 置換: a modeless dialog that finds as the find dialog does and
// replaces one hit at a time or all of them.
class ReplaceTool : public WindowFeature {
  Q_OBJECT

public:
  explicit ReplaceTool(const WindowParts &parts);

  QAction *replaceItem() const { return item_; }
  ReplaceDialog *dialog() const { return dialog_; }

  void ReplaceClick();
  void FindNext();
  void ReplaceNext();
  void ReplaceAll();

private:
  SearchOptions options() const;

  QWidget *window_;
  RichEdit *editor_;
  UserInterface &ui_;
  QAction *item_;
  ReplaceDialog *dialog_ = nullptr;
};

} // namespace kavrin
