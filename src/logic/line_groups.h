#pragma once

#include "logic/basic_reader.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace kavrin::basic {

// A program line and the lines after it up to the next program line: they
// go together when lines are sorted or moved.
struct LineGroup {
  int first = 0; // the program line
  int end = 0;   // one past its last follower
  LineNumber number;
};

template <class Group> struct LineGroups {
  int head = 0; // lines above the first program line
  std::vector<Group> groups;
};

// Groups `count` lines; `lineAt(i)` gives line i read, its number at least.
template <class Group = LineGroup, class LineAt>
LineGroups<Group> groupLines(int count, const LineAt &lineAt) {
  LineGroups<Group> grouped;
  grouped.head = count;
  for (int i = 0; i < count; ++i) {
    const ProgramLine &line = lineAt(i);
    if (!line.isProgram) {
      continue;
    }
    if (grouped.groups.empty()) {
      grouped.head = i;
    } else {
      grouped.groups.back().end = i;
    }
    Group group;
    group.first = i;
    group.end = count;
    group.number = line.number;
    grouped.groups.push_back(std::move(group));
  }
  return grouped;
}

// The first group whose number does not rise above the one before it; end()
// when the numbers rise throughout.
template <class Group> auto firstOutOfOrder(const std::vector<Group> &groups) {
  const auto wrong = std::adjacent_find(groups.begin(), groups.end(),
                                        [](const Group &a, const Group &b) { return a.number >= b.number; });
  return wrong == groups.end() ? wrong : std::next(wrong);
}

} // namespace kavrin::basic
