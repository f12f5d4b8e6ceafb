#pragma once

#include "logic/basic_reader.h"

#include <QString>

#include <optional>
#include <span>
#include <vector>

// Keeping what each LIST, LLIST and DELETE range covers when lines take new
// numbers: after the change a range covers the same lines as before, under
// their new numbers.
namespace kavrin::basic {

// The new numbers of a program's lines: `from` rising, to[k] the new
// number of from[k].
struct Renumbering {
  std::vector<LineNumber> from;
  std::vector<LineNumber> to;
};

// A range end of text line `line`, its reference `reference`, becomes `to`.
struct RangeEndChange {
  size_t line = 0;
  size_t reference = 0;
  LineNumber to;
};

struct KeptRanges {
  // Set when some range can no longer cover the same lines: the text line
  // that holds it.
  std::optional<size_t> brokenLine;
  // In text order.
  std::vector<RangeEndChange> changes;

  // The changes of line `line`.
  std::span<const RangeEndChange> forLine(size_t line) const;
};

// The range ends of `lines` (the text's lines read) rewritten for
// `numbers`.  An end that names a line takes its new number, and an end
// that names none keeps its value, where either still bounds the same
// lines; otherwise the end becomes the new number of the first or last
// line covered.  A range that covered no line must still cover none: where
// its numbers would now cover lines, it moves between lines, or past them.
KeptRanges keepRanges(const std::vector<ProgramLine> &lines, const Renumbering &numbers);

// The tool is refused: the range on line `line` would cover other lines.
QString brokenRangeMessage(const LineNumber &line);

} // namespace kavrin::basic
