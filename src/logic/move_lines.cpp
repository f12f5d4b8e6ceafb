#include "logic/move_lines.h"

#include "logic/line_groups.h"
#include "logic/renumber.h"

#include <algorithm>

namespace kavrin::basic {
namespace {

// A program line with its followers, and its new number when it moves.
struct Group : LineGroup {
  int to = -1;
};

struct Program {
  qsizetype size = 0;
  TextLines split;
  std::vector<ProgramLine> lines;
  int head = 0; // lines above the first program line
  std::vector<Group> groups;
};

Program readProgram(QStringView text, const KeywordMatcher &keywords) {
  Program program;
  program.size = text.size();
  program.split = splitLines(text);
  program.lines.reserve(program.split.lines.size());
  for (const QStringView line : program.split.lines) {
    program.lines.push_back(readLine(line, keywords));
  }
  LineGroups<Group> grouped =
      groupLines<Group>(static_cast<int>(program.lines.size()),
                        [&program](int i) -> const ProgramLine & { return program.lines[i]; });
  program.head = grouped.head;
  program.groups = std::move(grouped.groups);
  return program;
}

MoveResult refused(MoveRefusal why, const QString &message) {
  MoveResult result;
  result.refusal = why;
  result.error = message;
  return result;
}

MoveResult nothingToMove() {
  return refused(MoveRefusal::NothingToMove, QStringLiteral("移動する行がありません。"));
}

// The first program line that does not come after the one before it.
std::optional<MoveResult> checkOrder(const Program &program) {
  const auto wrong = firstOutOfOrder(program.groups);
  if (wrong == program.groups.end()) {
    return std::nullopt;
  }
  return refused(MoveRefusal::OutOfOrder, outOfOrderMessage(wrong->number));
}

std::vector<Group>::iterator groupNumbered(std::vector<Group> &groups, const LineNumber &number) {
  const auto found = std::lower_bound(groups.begin(), groups.end(), number,
                                      [](const Group &g, const LineNumber &n) { return g.number < n; });
  return found != groups.end() && found->number == number ? found : groups.end();
}

// Writes the head, then the groups in order of their new numbers.
class Writer {
public:
  Writer(const Program &program, const NumberMap &map, const KeptRanges &ranges, MoveResult &result)
      : program_(program), map_(map), ranges_(ranges), result_(result) {
    result_.text.reserve(program.size + program.size / 8 + 16);
    result_.newLineOf.assign(program.split.lines.size(), -1);
  }

  // Lines that keep their number.
  void put(int from, int end) {
    runOpen_ = false;
    write(from, end);
  }

  void putMoved(const Group &group) {
    if (result_.firstLine < 0) {
      result_.firstLine = next_;
      runOpen_ = true;
    }
    write(group.first, group.end);
    if (runOpen_) {
      result_.lastLine = next_ - 1;
    }
  }

  void finish() {
    if (program_.split.endsWithBreak) {
      result_.text.append(u'\n');
    }
  }

private:
  void write(int from, int end) {
    for (int i = from; i < end; ++i) {
      if (next_ > 0) {
        result_.text.append(u'\n');
      }
      const auto line = static_cast<std::size_t>(i);
      appendRenumbered(result_.text, program_.split.lines[line], program_.lines[line], map_,
                       ranges_.forLine(line));
      result_.newLineOf[static_cast<std::size_t>(i)] = next_++;
    }
  }

  const Program &program_;
  const NumberMap &map_;
  const KeptRanges &ranges_;
  MoveResult &result_;
  int next_ = 0;
  // Moved lines written since the first, with no kept line between.
  bool runOpen_ = false;
};

// A reference to a missing line would silently come to name a moved line
// that took its number.  `moved` are in order of their new numbers.
template <class NewNumber>
std::optional<MoveResult> checkMissingTargets(Program &program, const std::vector<int> &moved,
                                              const NewNumber &newNumber) {
  for (const ProgramLine &line : program.lines) {
    for (const LineReference &reference : line.references) {
      if (reference.range != RangeEnd::None ||
          groupNumbered(program.groups, reference.target) != program.groups.end()) {
        continue;
      }
      const auto taker = std::lower_bound(moved.begin(), moved.end(), reference.target,
                                          [&](int g, const LineNumber &n) { return newNumber(g) < n; });
      if (taker != moved.end() && newNumber(*taker) == reference.target) {
        return refused(MoveRefusal::Taken,
                       QStringLiteral("新しい行番号 %1 は、ない行への参照が指しています。")
                           .arg(reference.target.toString()));
      }
    }
  }
  return std::nullopt;
}

// Every range keeps the lines it covers, or the move is refused.
template <class NewNumber>
std::optional<MoveResult> keepProgramRanges(const Program &program, const NewNumber &newNumber,
                                            KeptRanges &kept) {
  Renumbering numbers;
  for (int g = 0; g < static_cast<int>(program.groups.size()); ++g) {
    numbers.from.push_back(program.groups[static_cast<std::size_t>(g)].number);
    numbers.to.push_back(newNumber(g));
  }
  kept = keepRanges(program.lines, numbers);
  if (kept.brokenLine) {
    return refused(MoveRefusal::BrokenRange, brokenRangeMessage(program.lines[*kept.brokenLine].number));
  }
  return std::nullopt;
}

// Moves the groups whose `to` is set.
MoveResult apply(Program &program) {
  std::vector<int> moved, kept;
  for (int g = 0; g < static_cast<int>(program.groups.size()); ++g) {
    (program.groups[g].to >= 0 ? moved : kept).push_back(g);
  }
  const auto newNumber = [&program](int g) {
    const Group &group = program.groups[g];
    return group.to >= 0 ? LineNumber(static_cast<quint64>(group.to)) : group.number;
  };
  std::stable_sort(moved.begin(), moved.end(), [&](int a, int b) { return newNumber(a) < newNumber(b); });
  // The moved lines' numbers differ from each other, the step being at
  // least 1; only a line left in place can hold one.
  for (const int g : moved) {
    const LineNumber to = newNumber(g);
    const auto user = groupNumbered(program.groups, to);
    if (user != program.groups.end() && user->to < 0) {
      return refused(MoveRefusal::Taken,
                     QStringLiteral("新しい行番号 %1 はほかの行が使っています。").arg(to.toString()));
    }
  }
  KeptRanges ranges;
  std::optional<MoveResult> refusal = checkMissingTargets(program, moved, newNumber);
  if (!refusal) {
    refusal = keepProgramRanges(program, newNumber, ranges);
  }
  if (refusal) {
    return std::move(*refusal);
  }
  NumberMap map;
  for (const Group &group : program.groups) {
    if (group.to >= 0) {
      map.add(group.number, group.to);
    }
  }
  MoveResult result;
  Writer out(program, map, ranges, result);
  out.put(0, program.head);
  for (size_t k = 0, m = 0; k < kept.size() || m < moved.size();) {
    if (m == moved.size() || (k < kept.size() && newNumber(kept[k]) < newNumber(moved[m]))) {
      const Group &group = program.groups[kept[k++]];
      out.put(group.first, group.end);
    } else {
      out.putMoved(program.groups[moved[m++]]);
    }
  }
  out.finish();
  return result;
}

} // namespace

MoveResult moveLines(QStringView text, const MoveRequest &request, const KeywordMatcher &keywords) {
  if (request.newStart < 1 || request.increment < 1) {
    return refused(MoveRefusal::BadValue, renumberValueMessage());
  }
  Program program = readProgram(text, keywords);
  std::vector<Group *> chosen;
  for (Group &group : program.groups) {
    if (group.first >= request.firstLine && group.first <= request.lastLine) {
      chosen.push_back(&group);
    }
  }
  if (chosen.empty()) {
    return nothingToMove();
  }
  if (std::optional<MoveResult> refusal = checkOrder(program)) {
    return std::move(*refusal);
  }
  if (qint64(request.newStart) + qint64(request.increment) * qint64(chosen.size() - 1) > kLargestLineNumber) {
    return refused(MoveRefusal::TooLarge, tooLargeMessage());
  }
  for (std::size_t k = 0; k < chosen.size(); ++k) {
    chosen[k]->to = request.newStart + request.increment * static_cast<int>(k);
  }
  return apply(program);
}

} // namespace kavrin::basic
