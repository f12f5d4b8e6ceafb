#pragma once

#include "logic/basic_reader.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// Giving a BASIC program's lines new numbers, as the machine's own renumber
// command does, and the line references that name them with them.
namespace kavrin::basic {

struct RenumberRequest {
  int newStart = 10;
  int increment = 10;
  // The first old line to renumber; none: the first program line.
  std::optional<LineNumber> oldStart;
};

struct MissingReference {
  LineNumber line;   // the (new) number of the line that holds the reference
  LineNumber target; // the number it names
};

enum class RenumberRefusal { None, BadValue, NothingToRenumber, OutOfOrder, Overlap, TooLarge };

struct RenumberResult {
  // Non-empty: refused, nothing changed; says why.
  QString error;
  RenumberRefusal refusal = RenumberRefusal::None;
  QString text;
  // In text order.
  std::vector<MissingReference> missing;
  int renumbered = 0;
};

// Renumbers from the first program line at or after `oldStart` to the end of
// the text; every other character stays as it is.
RenumberResult renumber(QStringView text, const RenumberRequest &request);

// What a successful renumber did: how many lines, and the references that
// name no line.
QString renumberReport(const RenumberResult &result);

// Start or increment is not a whole number of 1 or more.
QString renumberValueMessage();

} // namespace kavrin::basic
