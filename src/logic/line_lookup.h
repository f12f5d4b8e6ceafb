#pragma once

#include "logic/basic_reader.h"

#include <QString>
#include <QStringView>

// Finding the program line that a typed line number names.
namespace kavrin::basic {

struct LineLookup {
  int line = -1; // index of the line in the text, -1 for none
  bool exact = false;
};

// The first program line with `number`; failing that, the first one with
// the smallest number above it; failing that, none.
LineLookup findProgramLine(QStringView text, const LineNumber &number);

// Reads what was typed in a line number box: digits with blanks around
// them, as many as were typed.
bool parseLineNumber(const QString &input, LineNumber &number);

} // namespace kavrin::basic
