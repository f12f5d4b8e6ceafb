#pragma once

// The property the tools that renumber lines share: every LIST, LLIST and
// DELETE range with a dash, and every bound of ERL, covers the same lines
// after as before, under their new numbers.

#include "fuzz_text.h"

#include "logic/basic_reader.h"

#include <map>
#include <set>

namespace kavrin::fuzz {

// Line numbers, each with its number after the tool.
using Numbers = std::map<basic::LineNumber, basic::LineNumber>;

// The new numbers of the lines of `numbers` that the range whose first end
// written is reference `r` covers.
inline std::set<basic::LineNumber> covered(const std::vector<basic::LineReference> &refs, size_t r,
                                           const Numbers &numbers) {
  using basic::RangeEnd;
  const RangeEnd kind = refs[r].range;
  const basic::LineNumber &first = refs[r].target;
  const basic::LineNumber &last = refs[kind == RangeEnd::FromTo ? r + 1 : r].target;
  if (kind == RangeEnd::FromTo && last < first) {
    return {}; // reversed
  }
  const bool upperOnly = kind == RangeEnd::To || kind == RangeEnd::AtMost || kind == RangeEnd::Below;
  const bool lowerOnly = kind == RangeEnd::From || kind == RangeEnd::AtLeast || kind == RangeEnd::Above;
  auto line = upperOnly                 ? numbers.begin()
              : kind == RangeEnd::Above ? numbers.upper_bound(first)
                                        : numbers.lower_bound(first);
  const auto end = lowerOnly                 ? numbers.end()
                   : kind == RangeEnd::Below ? numbers.lower_bound(last)
                                             : numbers.upper_bound(last);
  std::set<basic::LineNumber> inside;
  for (; line != end; ++line) {
    inside.insert(line->second);
  }
  return inside;
}

// `lineAfter(i)` is the line of `after` that line i of `before` became.
template <class LineAfter>
void checkRangesKept(QStringView before, QStringView after, const LineAfter &lineAfter) {
  using namespace basic;
  const std::vector<QStringView> a = splitLines(before).lines;
  const std::vector<QStringView> b = splitLines(after).lines;
  std::vector<ProgramLine> readA, readB;
  Numbers newOf, newNumbers;
  for (size_t i = 0; i < a.size(); ++i) {
    readA.push_back(readLine(a[i], {}));
    // An empty line left last reads as the text's final break.
    const size_t j = lineAfter(i);
    readB.push_back(readLine(j < b.size() ? b[j] : QStringView(), {}));
    if (readA[i].isProgram) {
      newOf[readA[i].number] = newNumbers[readB[i].number] = readB[i].number;
    }
  }
  for (size_t i = 0; i < a.size(); ++i) {
    const std::vector<LineReference> &refs = readA[i].references;
    FUZZ_CHECK(refs.size() == readB[i].references.size());
    for (size_t r = 0; r < refs.size(); ++r) {
      if (refs[r].range != RangeEnd::None && (r == 0 || refs[r - 1].range != RangeEnd::FromTo)) {
        FUZZ_CHECK(covered(refs, r, newOf) == covered(readB[i].references, r, newNumbers));
      }
    }
  }
}

} // namespace kavrin::fuzz
