#pragma once

#include <QStringView>

// The BASIC words that the line reader looks for.
namespace kavrin::basic {

// The words that decide how the rest of a statement reads.
enum class Word {
  None,
  GoTo,
  GoSub,
  Then,
  Else,
  Restore,
  Resume,
  Run,
  Return,
  List,
  Delete,
  Erl,
  On,
  Error,
  Rem,
  Data,
  // Words a number may follow at once (IF5=ERL, X OR5=ERL): no part of a
  // variable's name.
  Other
};

// The word at `pos` and its `length`, the longest one; None (length 0)
// when there is none.  "GO TO" may have blanks between its halves.
Word wordAt(QStringView text, qsizetype pos, qsizetype &length);

} // namespace kavrin::basic
