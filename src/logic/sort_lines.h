#pragma once

#include "logic/line_number.h"

#include <QString>
#include <QStringView>

#include <vector>

// Putting program lines in line-number order, as the machine would hold them
// after the lines were typed in file order.
namespace kavrin::basic {

struct SortResult {
  // False when the lines are already in order with no number repeated; the
  // text is then empty.
  bool changed = false;
  QString text;
  // The numbers of program lines dropped because a later line had the same
  // number, rising, each once.
  std::vector<LineNumber> replaced;
  // For each old line index its new one, or -1 for a dropped line.
  std::vector<int> newLineOf;
};

// A line that is not a program line moves with the program line above it;
// those above the first program line stay at the top.
SortResult sortLines(QStringView text);

// The message shown after sorting.
QString sortReport(const SortResult &result);

} // namespace kavrin::basic
