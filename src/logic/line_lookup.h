#pragma once

#include "logic/basic_reader.h"

#include <QString>
#include <QStringView>

#include <map>
#include <optional>

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

// What was typed in a number field, as it is read: without the blanks
// around it (the wide blank of a Japanese input method too), and with
// full-width digits as digits.
QString typedDigits(const QString &input);

// Reads what was typed in a line number box: digits with blanks around
// them, as many as were typed.
bool parseLineNumber(const QString &input, LineNumber &number);

// Reads what was typed in a field for a whole number (an AUTO step, a
// renumber's increment): a decimal number in the 32-bit range, signed or
// not.
std::optional<int> parseWholeNumber(const QString &input);

} // namespace kavrin::basic
