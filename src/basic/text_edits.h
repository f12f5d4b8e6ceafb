#pragma once

#include <vector>

class QString;

namespace kavrin {
class ProgramEditor;
} // namespace kavrin

namespace kavrin::basic {

// Replaces the editor's text `old` by `text`, in which line i became line
// `newLineOf[i]` (-1: gone), as one undo step; what follows lines (places
// jumped from, list rows) follows them through it, its undo and its redo.
// The caret goes to `caretLine` at the column it had, and the view stays
// put.
void replaceText(ProgramEditor &editor, const QString &old, const QString &text,
                 const std::vector<int> &newLineOf, int caretLine);

} // namespace kavrin::basic
