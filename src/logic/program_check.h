#pragma once

#include <QString>
#include <QStringView>

#include "logic/basic_reader.h"
#include "logic/check_rules.h"
#include "logic/keyword_matcher.h"
#include "logic/line_number.h"

#include <functional>
#include <vector>

// Finding what the machine would refuse or trip over in a program text.
namespace kavrin::basic {

struct Finding {
  int line = 0; // index of the line in the text; -1: a note on the whole program
  QString message;
  CheckRule rule = CheckRule::Basic;
  bool error = true; // an error, or only a warning
  // How a row names the line (lineLabel), read with the text.
  QString where = {};
  // Where in its line the finding stands, where its rule knows; else -1.
  qsizetype column = -1;
};

// The lines of the text a program was built from (the source form's), and
// the source line that holds a column of a built line (-1: its start):
// what findings name other lines by, in place of the program's own.
struct SourceLines {
  const TextLines *text = nullptr;
  std::function<int(int line, qsizetype column)> lineAt;
};

// Line by line in text order: a line without a number, a number not above
// the previous program line's, a number too large, a reference to a line
// that is not there or past the largest line number, a line too long for
// the machine.
// Then the findings of the other rules that `options` turns on, each
// message led by its rule's tag; `keywords` are the current mode's.
// Findings stand in the order of their lines; a line's basic ones first.
std::vector<Finding> checkProgram(QStringView text, const KeywordMatcher &keywords,
                                  const CheckOptions &options = {}, const SourceLines *source = nullptr);
// The basic findings only.
std::vector<Finding> checkProgram(QStringView text);

// The machine's rules on one line, for the check and for tools that write
// lines.  The line's bytes in code page 932 when more than the machine
// holds, or 0.
qsizetype overlongBytes(QStringView line);
QString tooLongMessage(qsizetype bytes);
// `number` stands after `previous` but is not above it.
QString orderMessage(const LineNumber &number, const LineNumber &previous);
QString numberTooLargeMessage(const LineNumber &number);
QString missingLineMessage(const LineNumber &target);
QString noNumberMessage();

// Where a line with findings is marked: its line number, or without one
// its first word; nothing on a blank line.
struct MarkedSpan {
  qsizetype start = 0;
  qsizetype length = 0;
};
MarkedSpan markedSpan(QStringView line);

} // namespace kavrin::basic
