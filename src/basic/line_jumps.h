#pragma once

#include "logic/line_number.h"

namespace kavrin {
class JumpHistory;
class ProgramEditor;
class UserInterface;
} // namespace kavrin

namespace kavrin::basic {

// Selects the program line numbered `number` as Ctrl+G does: that line,
// else the first with the smallest number above it, with a beep unless
// not `beepPastIt`.  The caret's place is kept for 戻る.  False, with
// nothing moved, when there is neither: the caller tells.
bool goToNumberedLine(ProgramEditor &editor, JumpHistory &history, UserInterface &ui,
                      const LineNumber &number, bool beepPastIt = true);

} // namespace kavrin::basic
