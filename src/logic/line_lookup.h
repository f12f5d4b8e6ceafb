#pragma once

#include "logic/basic_reader.h"

#include <QString>
#include <QStringView>

#include <map>

// Finding the program line that a typed line number names.
namespace kavrin::basic {

struct LineLookup {
  int line = -1; // index of the line in the text, -1 for none
  bool exact = false;
};

// The first program line with `number`; failing that, the first one with
// the smallest number above it; failing that, none.
LineLookup findProgramLine(QStringView text, const LineNumber &number);

// The program lines of one text by number, for many lookups.
class ProgramLineIndex {
public:
  explicit ProgramLineIndex(QStringView text);
  // As findProgramLine.
  LineLookup find(const LineNumber &number) const;

private:
  // The first line with each number.
  std::map<LineNumber, int> lines_;
};

// Reads what was typed in a line number box: digits with blanks around
// them, as many as were typed.
bool parseLineNumber(const QString &input, LineNumber &number);

} // namespace kavrin::basic
