#pragma once

#include "logic/keyword_matcher.h"
#include "platform/edit_control.h"

#include <QString>
#include <QStringList>

namespace kavrin {

// The state of a keyword completion cycle.  While an entry is shown, the
// characters it adds to the typed letters (its tail) are exactly the
// editor's selection.
struct CompletionState {
  // A cycle is in progress; the first TAB sets it, matched or not.
  bool CompActive = false;
  // The typed letters that the cycle extends, in capitals.
  QString CompPrefix;
  // The run of matching entries: [CompFirst, CompEnd).
  int CompFirst = 0;
  int CompEnd = 0;
  // The entry shown; CompFirst - 1 or CompEnd for the typed letters alone;
  // kNoMatch when nothing matched.
  int CompIndex = 0;
  // The cycle goes through the labels, not the keywords.
  bool CompLabels = false;

  static constexpr int kNoMatch = -2;
};

// A source document's label names in capitals, sorted, and the mode's
// keywords, which tell a label's '*' from a multiplication.
struct LabelWords {
  const QStringList &names;
  const basic::KeywordMatcher &keywords;
};

// TAB (or Shift+TAB with `backwards`) in the editor: starts a cycle on the
// letters before the caret or steps along the current one.  Returns true
// when the user is to hear a beep.  With `labels`, a name typed after a
// label's '*' goes through them instead.
[[nodiscard]] bool completeKeyword(EditControl &edit, const QStringList &keywords, bool backwards,
                                   CompletionState &state, const LabelWords *labels = nullptr);

// Ends a cycle.  With `keepCompletion` the caret goes after the shown tail,
// which stays in the text; without, the selection is left as it is.
void endCompletion(EditControl &edit, CompletionState &state, bool keepCompletion);

// A key (a Qt key code) went down in the editor: every key but Shift ends a
// cycle; Backspace and Esc leave the tail selected, so that Backspace
// removes it.
void endCompletionOnKey(EditControl &edit, CompletionState &state, int key);

} // namespace kavrin
