#pragma once

#include "platform/edit_control.h"

namespace kavrin {

// RETURN with AUTO on: ends the line at the caret (replacing any selection)
// and starts the next one with the current line's number plus `increment`
// and a blank.  The number is read from at most five digits at the start of
// the line, before the caret; a line without one gets only the line break.
void autoNumberReturn(EditControl &edit, int increment);

} // namespace kavrin
