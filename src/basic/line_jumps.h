#pragma once

#include "logic/line_number.h"
#include "logic/source_form.h"

#include <optional>

namespace kavrin {
class JumpHistory;
class ProgramEditor;
class UserInterface;
} // namespace kavrin

namespace kavrin::basic {

// Selects the program line numbered `number` as Ctrl+G does: that line,
// else the first with the smallest number above it, with a beep unless
// not `beepPastIt`.  The caret's place is kept for 戻る.  The line found,
// counted in the program looked in; nothing, with nothing moved, when there
// is neither: the caller tells.  With `built` (the editor's source form
// built, Session::numberedBuild), the numbers are the built program's and
// the line selected is the first source line of the one found.
std::optional<int> goToNumberedLine(ProgramEditor &editor, JumpHistory &history, UserInterface &ui,
                                    const LineNumber &number, bool beepPastIt = true,
                                    const BuiltProgram *built = nullptr);

} // namespace kavrin::basic
