#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include "logic/keyword_matcher.h"
#include "logic/line_number.h"
#include "logic/line_tokens.h"

#include <vector>

// Reading BASIC program lines as the machine's BASIC reads them when it
// stores a line: the line number, and from the statements' tokens
// (logic/line_tokens) the line references and the colours.
namespace kavrin::basic {

// Line numbers above this are refused by the machine.
inline constexpr int kLargestLineNumber = 65529;

// Where a number stands in a LIST, LLIST or DELETE range with a dash, or
// as a bound of ERL (ERL<50, 1000<=ERL).  Such a number bounds a range of
// lines.
enum class RangeEnd : quint8 {
  None,   // no range end: a plain reference, or a range of one line
  From,   // before the dash, nothing after it
  FromTo, // before the dash; the next reference is the range's other end
  To,     // after the dash
  // ERL bounds, as read with ERL on the left: the lines >= n, > n, <= n,
  // < n.  = and <> name a line.
  AtLeast,
  Above,
  AtMost,
  Below,
};

// A number that names a line: where its digits stand and their value.  In
// the source form a label may stand instead: `start` and `length` cover
// its *NAME and `label` is its NAME, within the line read.
struct LineReference {
  qsizetype start = 0;
  qsizetype length = 0;
  LineNumber target;
  RangeEnd range = RangeEnd::None;
  QStringView label = {};
  bool isLabel() const { return !label.isEmpty(); }
  bool isBound() const { return range >= RangeEnd::AtLeast; }
  // Need not name a line: the far end of a range, or a bound of ERL.
  bool endsRange() const { return range == RangeEnd::To || isBound(); }
};

struct ProgramLine {
  // Starts with optional blanks and a line number.
  bool isProgram = false;
  qsizetype numberStart = 0;
  qsizetype numberLength = 0;
  LineNumber number;
  // In the order they stand.
  std::vector<LineReference> references;
  // Source form only: where the code ends (a source comment and the blanks
  // before it left out), and whether its last sign is ':' (outside strings
  // and comments), which continues it in the next program line.
  qsizetype codeEnd = 0;
  bool continues = false;
};

// The line number only; the statements are not read.
ProgramLine readLineNumber(QStringView line);
// The line number and every line reference in the statements; `keywords`
// are the current mode's.  In the source form a line without a number has
// its statements read too, labels may stand for line numbers, and a
// source comment is no part of the code.
ProgramLine readLine(QStringView line, const KeywordMatcher &keywords, LineForm form = LineForm::Numbered);

enum class SpanKind { LineNumber, Keyword, String, Comment, Label, SourceComment };

struct Span {
  qsizetype start = 0;
  qsizetype length = 0;
  SpanKind kind = SpanKind::Keyword;
};

// The parts of a line to colour, in order; `keywords` are the words shown
// as keywords.  Text that is not a program line has none; read in the
// source form, a line without a number has its statements coloured, its
// labels and source comment too.
std::vector<Span> colourSpans(QStringView line, const KeywordMatcher &keywords,
                              LineForm form = LineForm::Numbered);

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
