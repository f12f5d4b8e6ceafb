#pragma once

#include "logic/basic_reader.h"
#include "logic/keyword_matcher.h"
#include "logic/program_check.h"

#include <QStringView>

#include <vector>

// What the rules of the program check need of a program, read in one pass
// over its tokens.
namespace kavrin::basic {

// Where a variable's type sign stands in its key (`NameUse::variable`);
// below it, flags of its kind.
inline constexpr int kTypeSignShift = 8;
inline quint64 withoutTypeSign(quint64 variable) { return variable & ~(quint64{0xFFFF} << kTypeSignShift); }

// A name where it stands: its line, the variable it is to the machine (its
// first two letters, type and array flag) and the name as written, sign
// included.
struct NameUse {
  int line = 0;
  quint64 variable = 0;
  QStringView written;
};

struct LineFacts {
  int index = 0;
  QStringView text;
  const ProgramLine *read = nullptr;
  // The first full-width character outside strings, comments and DATA, or -1.
  qsizetype fullWidthAt = -1;
  // The first ¥ or ‾ anywhere, or -1.
  qsizetype yenAt = -1;
  // The last statement leaves the line for good: GOTO, END, RETURN or RUN,
  // and no IF on the line.
  bool endsFlow = false;
  // Nothing but END or STOP.
  bool onlyEnds = false;
  // Only data, remarks or nothing: the line runs no statement.
  bool runsNothing = true;
};

struct ProgramFacts {
  std::vector<LineFacts> lines;
  // Every name in text order; the loop variables of FOR and of NEXT.
  std::vector<NameUse> names, fors, nexts;
  // A NEXT without a name somewhere.
  bool bareNext = false;
  // DEFINT, DEFSNG, DEFDBL or DEFSTR somewhere: a name without a sign may
  // have any type.
  bool typesDeclared = false;
  // The lines with a GOSUB, with a RETURN.
  std::vector<int> gosubs, returns;
  // A full-width digit outside strings: a line number the references do
  // not read may stand there.
  bool fullWidthDigits = false;
  // The keywords the lines were read with.
  const KeywordMatcher *keywords = nullptr;
  // Where the program was built from another text: how to name its lines.
  const SourceLines *source = nullptr;
};

bool isFullWidth(QChar c);

// `reads` are the lines of `split` as `readLine` reads them.
ProgramFacts readFacts(const TextLines &split, const std::vector<ProgramLine> &reads,
                       const KeywordMatcher &keywords);

} // namespace kavrin::basic
