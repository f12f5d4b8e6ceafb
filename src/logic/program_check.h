#pragma once

#include "logic/check_rules.h"

#include <QString>
#include <QStringView>

#include <vector>

// Finding what the machine would refuse or trip over in a program text.
namespace kavrin::basic {

struct Finding {
  int line = 0; // index of the line in the text
  QString message;
  CheckRule rule = CheckRule::Basic;
};

// Line by line in text order: a line without a number, a number not above
// the previous program line's, a number too large, a reference to a line
// that is not there or past the largest line number, a line too long for
// the machine.
std::vector<Finding> checkProgram(QStringView text);

// Where a line with findings is marked: its line number, or without one
// its first word; nothing on a blank line.
struct MarkedSpan {
  qsizetype start = 0;
  qsizetype length = 0;
};
MarkedSpan markedSpan(QStringView line);

} // namespace kavrin::basic
