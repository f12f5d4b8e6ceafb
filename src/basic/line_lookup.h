#pragma once

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
LineLookup findProgramLine(QStringView text, int number);

// Reads what was typed in the go-to box: digits with blanks around them.
// A number too long saturates at kNumberCap, past every line number.
bool parseLineNumber(const QString &input, int &number);

} // namespace kavrin::basic
