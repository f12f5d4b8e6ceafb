#include "basic/line_jumps.h"

#include "logic/line_lookup.h"
#include "platform/user_interface.h"
#include "widgets/jump_history.h"
#include "widgets/program_editor.h"

namespace kavrin::basic {

std::optional<int> goToNumberedLine(ProgramEditor &editor, JumpHistory &history, UserInterface &ui,
                                    const LineNumber &number, bool beepPastIt, const BuiltProgram *built) {
  const LineLookup found = findProgramLine(built != nullptr ? built->text : editor.text(), number);
  if (found.line < 0) {
    return std::nullopt;
  }
  history.remember();
  editor.selectLine(built != nullptr ? built->firstSourceLine(static_cast<size_t>(found.line)) : found.line,
                    false);
  if (!found.exact && beepPastIt) {
    ui.beep();
  }
  return found.line;
}

} // namespace kavrin::basic
