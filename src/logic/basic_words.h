#pragma once

#include <QStringView>

// The BASIC words that line references follow, and those that decide how
// the rest of a statement reads: known whatever the mode's keyword list.
namespace kavrin::basic {

enum class Word : quint8 {
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
  Renum,
  On,
  Error,
  Rem,
  Data,
};

// What a number right after the word is.
enum class Follows : quint8 {
  Nothing,
  Line,        // names a line
  LineNotZero, // names a line, but 0 names none
  Jump,        // a line; after ON a list of lines; after ON ERROR 0 names none
  Range,       // a LIST range: a line, or either end of a dash
  Comparison,  // compared with ERL: = and <> name a line, the others bound
  Renumber,    // RENUM new,old,step: only old names a line
};

// The word at `pos` and its `length`, the longest one; None (length 0)
// when there is none.  "GO TO" may have blanks between its halves.
Word wordAt(QStringView text, qsizetype pos, qsizetype &length);

Follows follows(Word word);

} // namespace kavrin::basic
