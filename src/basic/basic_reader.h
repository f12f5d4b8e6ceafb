#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include "basic/keyword_matcher.h"

#include <vector>

// Reading BASIC program lines as the machine's BASIC reads them when it
// stores a line: keywords are found without regard to case or to the
// letters around them, the longest one at each place.
namespace kavrin::basic {

// Line numbers above this are refused by the machine.
inline constexpr int kLargestLineNumber = 65529;
// Numbers read from the text saturate here, far above any line number.
inline constexpr int kNumberCap = 9999999;

// A number that names a line: where its digits stand and their value.
struct LineReference {
  qsizetype start = 0;
  qsizetype length = 0;
  int target = 0;
};

struct ProgramLine {
  // Starts with optional blanks and a line number.
  bool isProgram = false;
  qsizetype numberStart = 0;
  qsizetype numberLength = 0;
  int number = -1;
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

// Reads the decimal digits at `pos`; the value saturates at kNumberCap.
int readNumber(QStringView text, qsizetype pos, qsizetype &length);

} // namespace kavrin::basic
