#pragma once

#include "logic/text_search.h"

class QPlainTextEdit;

namespace kavrin {

class UserInterface;

// Finds the next hit forward from the caret and selects it, or says that
// the end of the document was reached.  Find and replace both go this way.
void findNext(QPlainTextEdit &editor, UserInterface &ui, const SearchOptions &options);

} // namespace kavrin
