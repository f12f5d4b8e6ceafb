#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include "logic/keyword_matcher.h"
#include "logic/line_number.h"

#include <vector>

// Reading BASIC program lines as the machine's BASIC reads them when it
// stores a line: keywords are found without regard to case or to the
// letters around them, the longest one at each place.
namespace kavrin::basic {

// Line numbers above this are refused by the machine.
inline constexpr int kLargestLineNumber = 65529;

// Where a number stands in a LIST, LLIST or DELETE range with a dash.  Such
// a number bounds what is listed or deleted and need not name a line.
enum class RangeEnd : quint8 {
  None,   // no range end: a plain reference, or a range of one line
  From,   // before the dash, nothing after it
  FromTo, // before the dash; the next reference is the range's other end
  To,     // after the dash
};

// A number that names a line: where its digits stand and their value.
struct LineReference {
  qsizetype start = 0;
  qsizetype length = 0;
  LineNumber target;
  RangeEnd range = RangeEnd::None;
  bool endsRange() const { return range == RangeEnd::To; }
};

struct ProgramLine {
  // Starts with optional blanks and a line number.
  bool isProgram = false;
  qsizetype numberStart = 0;
  qsizetype numberLength = 0;
  LineNumber number;
  // In the order they stand.
  std::vector<LineReference> references;
};

// The line number only; the statements are not read.
ProgramLine readLineNumber(QStringView line);
// The line number and every line reference in the statements.
ProgramLine readLine(QStringView line);

enum class SpanKind { LineNumber, Keyword, String, Comment };

struct Span {
  qsizetype start = 0;
  qsizetype length = 0;
  SpanKind kind = SpanKind::Keyword;
};

// The parts of a line to colour, in order; `keywords` are the words shown
// as keywords.  Text that is not a program line has none.
std::vector<Span> colourSpans(QStringView line, const KeywordMatcher &keywords);

// A text's lines without their line breaks ('\n').  A break at the very
// end ends the last line and does not start another.
struct TextLines {
  std::vector<QStringView> lines;
  bool endsWithBreak = false;
};
TextLines splitLines(QStringView text);

// Reads the decimal digits at `pos`; `length` is 0 when there are none.
LineNumber readNumber(QStringView text, qsizetype pos, qsizetype &length);

} // namespace kavrin::basic
