#pragma once

#include "logic/basic_reader.h"

#include <QString>
#include <QStringView>

#include <vector>

// Moving program lines elsewhere: they take new numbers and their place in
// number order, and every reference to them follows.
namespace kavrin::basic {

struct MoveRequest {
  // The program lines among the text lines `firstLine` to `lastLine`
  // (0-based) move.
  int firstLine = 0;
  int lastLine = 0;
  int newStart = 10;
  int increment = 10;
};

enum class MoveRefusal { None, BadValue, NothingToMove, OutOfOrder, TooLarge, Taken, BrokenRange };

struct MoveResult {
  // Non-empty: refused, nothing changed; says why.
  QString error;
  MoveRefusal refusal = MoveRefusal::None;
  QString text;
  // Lines of the new text: the first moved line, and the last line of the
  // moved lines that follow it with no unmoved line between (a moved line
  // or a line without a number after it): what stays selected.
  int firstLine = -1;
  int lastLine = -1;
  // For each line of the old text its line in the new one.
  std::vector<int> newLineOf;
};

// Gives the program lines of the request the numbers newStart,
// newStart + increment, ...  Lines without a number move with the program
// line above them; those above the first program line stay at the top.
// `keywords` are the current mode's.
MoveResult moveLines(QStringView text, const MoveRequest &request, const KeywordMatcher &keywords);

} // namespace kavrin::basic
