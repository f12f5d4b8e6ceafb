#pragma once

#include "logic/basic_reader.h"
#include "logic/range_ends.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <span>
#include <vector>

// Giving a BASIC program's lines new numbers, as the machine's own renumber
// command does, and the line references that name them with them.
namespace kavrin::basic {

struct RenumberRequest {
  int newStart = 10;
  int increment = 10;
  // The first old line to renumber; none: the first program line.
  std::optional<LineNumber> oldStart;
  // The last old line to renumber; none: to the end.  The lines after it
  // keep their numbers.
  std::optional<LineNumber> oldEnd;
};

struct MissingReference {
  LineNumber line;   // the (new) number of the line that holds the reference
  LineNumber target; // the number it names
};

enum class RenumberRefusal {
  None,
  BadValue,
  BadRange,
  NothingToRenumber,
  OutOfOrder,
  Overlap,
  OverlapAfter,
  TooLarge,
  BrokenRange
};

struct RenumberResult {
  // Non-empty: refused, nothing changed; says why.
  QString error;
  RenumberRefusal refusal = RenumberRefusal::None;
  QString text;
  // In text order: the references that name no line, and those to no line
  // that a renumbered line now has the number of.
  std::vector<MissingReference> missing;
  std::vector<MissingReference> retargeted;
  int renumbered = 0;
};

// Renumbers from the first program line at or after `oldStart` to the last
// one up to `oldEnd`; every other character stays as it is.  `keywords` are
// the current mode's.
RenumberResult renumber(QStringView text, const RenumberRequest &request, const KeywordMatcher &keywords);

// What a successful renumber did: how many lines, the references that name
// no line and those that have come to name a renumbered line.
QString renumberReport(const RenumberResult &result);

// Start or increment is not a whole number of 1 or more.
QString renumberValueMessage();

// The program line `line` does not come after the one before it.
QString outOfOrderMessage(const LineNumber &line);
// A new line number would pass the largest one.
QString tooLargeMessage();

// Old line numbers and the new numbers they become, for rewriting the lines
// and the references that name them.
class NumberMap {
public:
  // `from` above every one added before.
  void add(const LineNumber &from, int to);
  bool empty() const { return size() == 0; }
  size_t size() const { return shortFrom_.size() + longFrom_.size(); }
  // The new number of `from`, or -1 when it has none.
  int find(const LineNumber &from) const;

private:
  // The long numbers, above all the others, stand apart, so that a search
  // walks plain integers.
  std::vector<quint64> shortFrom_;
  std::vector<int> shortTo_;
  std::vector<LineNumber> longFrom_;
  std::vector<int> longTo_;
};

// Appends `line`, read as `read`, to `out` with its own number and every
// reference that `map` knows written as their new numbers, but for range
// ends, which change as `ends` say only; gives the line's new number, or
// -1.  The targets of the other references go to `unmapped`.
int appendRenumbered(QString &out, QStringView line, const ProgramLine &read, const NumberMap &map,
                     std::span<const RangeEndChange> ends, std::vector<LineNumber> *unmapped = nullptr);

} // namespace kavrin::basic
