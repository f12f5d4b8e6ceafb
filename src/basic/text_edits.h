#pragma once

class QString;

namespace kavrin {
class ProgramEditor;
} // namespace kavrin

namespace kavrin::basic {

// Replaces the editor's text `old` by `text` as one undo step; the caret
// goes to `caretLine` at the column it had, and the view stays put.
void replaceText(ProgramEditor &editor, const QString &old, const QString &text, int caretLine);

} // namespace kavrin::basic
