#pragma once

// The property the tools that renumber lines share: every LIST, LLIST and
// DELETE range with a dash covers the same lines after as before, under
// their new numbers.

#include "fuzz_text.h"

#include "logic/basic_reader.h"

#include <map>
#include <set>

namespace kavrin::fuzz {

// The numbers of `numbers` that the range starting at reference `r`
// covers; `r` is its first end written.
inline std::set<basic::LineNumber> covered(const std::vector<basic::LineReference> &refs, size_t r,
                                           const std::set<basic::LineNumber> &numbers) {
  using basic::RangeEnd;
  const basic::LineNumber *first = refs[r].range == RangeEnd::To ? nullptr : &refs[r].target;
  const basic::LineNumber *last = refs[r].range == RangeEnd::To       ? &refs[r].target
                                  : refs[r].range == RangeEnd::FromTo ? &refs[r + 1].target
                                                                      : nullptr;
  std::set<basic::LineNumber> inside;
  for (const basic::LineNumber &n : numbers) {
    if ((first == nullptr || *first <= n) && (last == nullptr || n <= *last)) {
      inside.insert(n);
    }
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
  std::map<LineNumber, LineNumber> newOf;
  std::set<LineNumber> oldNumbers, newNumbers;
  for (size_t i = 0; i < a.size(); ++i) {
    readA.push_back(readLine(a[i]));
    // An empty line left last reads as the text's final break.
    const size_t j = lineAfter(i);
    readB.push_back(readLine(j < b.size() ? b[j] : QStringView()));
    if (readA[i].isProgram) {
      newOf[readA[i].number] = readB[i].number;
      oldNumbers.insert(readA[i].number);
      newNumbers.insert(readB[i].number);
    }
  }
  for (size_t i = 0; i < a.size(); ++i) {
    const std::vector<LineReference> &refs = readA[i].references;
    FUZZ_CHECK(refs.size() == readB[i].references.size());
    for (size_t r = 0; r < refs.size(); ++r) {
      if (refs[r].range == RangeEnd::None ||
          (refs[r].range == RangeEnd::To && r > 0 && refs[r - 1].range == RangeEnd::FromTo)) {
        continue;
      }
      std::set<LineNumber> moved;
      for (const LineNumber &n : covered(refs, r, oldNumbers)) {
        moved.insert(newOf[n]);
      }
      FUZZ_CHECK(moved == covered(readB[i].references, r, newNumbers));
    }
  }
}

} // namespace kavrin::fuzz
