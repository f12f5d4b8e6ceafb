#pragma once

#include "widgets/search_dialog.h"
#include "widgets/window_feature.h"

namespace kavrin {

// Edit > 検索 and 置換: modeless dialogs that find forward from the caret,
// one hit at a time; the replace dialog puts its text in place of one hit
// or of all of them.  Both go by one search.
class SearchCommands : public WindowFeature {
  Q_OBJECT

public:
  explicit SearchCommands(const FeatureContext &context);

  void find();
  void replace();
  // Selects the next hit of `dialog`'s text, or says that there is none.
  void findNext(const SearchDialog &dialog);
  void replaceNext();
  void replaceAll();

  SearchDialog *findDialog() const { return findDialog_; }
  SearchDialog *replaceDialog() const { return replaceDialog_; }

private:
  // Made on first use, seeded with the selection and brought up; the
  // dialog when it was made now.
  SearchDialog *present(SearchDialog *&dialog, SearchDialog::Purpose purpose);

  SearchDialog *findDialog_ = nullptr;
  SearchDialog *replaceDialog_ = nullptr;
};

} // namespace kavrin
