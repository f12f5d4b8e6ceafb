#include "basic/line_jumps.h"

#include "logic/line_lookup.h"
#include "platform/user_interface.h"
#include "widgets/jump_history.h"
#include "widgets/program_editor.h"
#include "widgets/session.h"

namespace kavrin::basic {

std::optional<BuiltProgram> numberedBuild(const Session &session, const ProgramEditor &editor) {
  if (!session.sourceForm()) {
    return std::nullopt;
  }
  BuiltProgram built =
      buildProgram(editor.text(), session.keywordMatcher(), session.preferences().autoIncrement);
  return built.refused() ? std::nullopt : std::optional(std::move(built));
}

bool goToNumberedLine(ProgramEditor &editor, JumpHistory &history, UserInterface &ui,
                      const LineNumber &number, bool beepPastIt, const BuiltProgram *built) {
  const LineLookup found = findProgramLine(built != nullptr ? built->text : editor.text(), number);
  if (found.line < 0) {
    return false;
  }
  history.remember();
  editor.selectLine(built != nullptr ? built->firstSourceLine(static_cast<size_t>(found.line)) : found.line,
                    false);
  if (!found.exact && beepPastIt) {
    ui.beep();
  }
  return true;
}

} // namespace kavrin::basic
