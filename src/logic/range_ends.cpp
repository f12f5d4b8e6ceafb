#include "logic/range_ends.h"

#include <algorithm>
#include <bit>
#include <numeric>

namespace kavrin::basic {
namespace {

// The smallest and the largest value of any stretch of a list, each found
// in constant time.
class StretchBounds {
public:
  explicit StretchBounds(const std::vector<size_t> &values) : low_{values}, high_{values} {
    for (size_t width = 1; width * 2 <= values.size(); width *= 2) {
      std::vector<size_t> low(values.size() - width * 2 + 1);
      std::vector<size_t> high(low.size());
      for (size_t i = 0; i < low.size(); ++i) {
        low[i] = std::min(low_.back()[i], low_.back()[i + width]);
        high[i] = std::max(high_.back()[i], high_.back()[i + width]);
      }
      low_.push_back(std::move(low));
      high_.push_back(std::move(high));
    }
  }

  // Of the values [first, end), end above first.
  std::pair<size_t, size_t> of(size_t first, size_t end) const {
    const size_t level = static_cast<size_t>(std::bit_width(end - first)) - 1;
    const size_t other = end - (size_t(1) << level);
    return {std::min(low_[level][first], low_[level][other]),
            std::max(high_[level][first], high_[level][other])};
  }

private:
  std::vector<std::vector<size_t>> low_;
  std::vector<std::vector<size_t>> high_;
};

size_t lowerBound(const std::vector<LineNumber> &sorted, const LineNumber *number, size_t none) {
  return number == nullptr ? none
                           : size_t(std::lower_bound(sorted.begin(), sorted.end(), *number) - sorted.begin());
}

size_t upperBound(const std::vector<LineNumber> &sorted, const LineNumber *number, size_t none) {
  return number == nullptr ? none
                           : size_t(std::upper_bound(sorted.begin(), sorted.end(), *number) - sorted.begin());
}

// The ends of one range as written: either may be left out.  An open end
// (ERL > n, ERL < n) does not cover its own number.
struct Range {
  const LineReference *first = nullptr;
  const LineReference *last = nullptr;
  size_t firstIndex = 0;
  size_t lastIndex = 0;
  bool openFirst = false;
  bool openLast = false;

  // Where the lines covered start and end in `sorted`.
  size_t low(const std::vector<LineNumber> &sorted, const LineNumber *number) const {
    return openFirst ? upperBound(sorted, number, 0) : lowerBound(sorted, number, 0);
  }
  size_t high(const std::vector<LineNumber> &sorted, const LineNumber *number) const {
    return openLast ? lowerBound(sorted, number, sorted.size()) : upperBound(sorted, number, sorted.size());
  }
};

// The range that reference `r` of `refs` starts; `r` moves past its end.
Range rangeAt(const std::vector<LineReference> &refs, size_t &r) {
  const LineReference *ref = &refs[r];
  switch (ref->range) {
  case RangeEnd::None:
    break;
  case RangeEnd::To:
  case RangeEnd::AtMost:
  case RangeEnd::Below:
    return {nullptr, ref, 0, r, false, ref->range == RangeEnd::Below};
  case RangeEnd::From:
  case RangeEnd::AtLeast:
  case RangeEnd::Above:
    return {ref, nullptr, r, 0, ref->range == RangeEnd::Above, false};
  case RangeEnd::FromTo:
    if (r + 1 < refs.size()) {
      ++r;
      return {ref, &refs[r], r - 1, r};
    }
    return {ref, nullptr, r, 0};
  }
  return {};
}

class RangeKeeper {
public:
  explicit RangeKeeper(const Renumbering &numbers) : numbers_(numbers), rank_(numbers.to.size()) {
    std::vector<size_t> order(numbers.to.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return numbers.to[a] < numbers.to[b]; });
    sorted_.reserve(order.size());
    for (const size_t k : order) {
      rank_[k] = sorted_.size();
      sorted_.push_back(numbers.to[k]);
    }
  }

  // False when a range of line `line` cannot keep its lines.
  bool keep(size_t line, const std::vector<LineReference> &refs, std::vector<RangeEndChange> &out) {
    for (size_t r = 0; r < refs.size(); ++r) {
      if (refs[r].range != RangeEnd::None && !keep(line, rangeAt(refs, r), out)) {
        return false;
      }
    }
    return true;
  }

private:
  LineNumber newNumber(const LineNumber &number) const {
    const auto found = std::lower_bound(numbers_.from.begin(), numbers_.from.end(), number);
    return found != numbers_.from.end() && *found == number
               ? numbers_.to[size_t(found - numbers_.from.begin())]
               : number;
  }

  bool keep(size_t line, const Range &range, std::vector<RangeEndChange> &out) {
    const LineNumber *first = range.first != nullptr ? &range.first->target : nullptr;
    const LineNumber *last = range.last != nullptr ? &range.last->target : nullptr;
    const size_t count = numbers_.from.size();
    const size_t low = range.low(numbers_.from, first);
    const size_t high = range.high(numbers_.from, last);
    std::optional<LineNumber> newFirst = first ? std::optional(newNumber(*first)) : std::nullopt;
    std::optional<LineNumber> newLast = last ? std::optional(newNumber(*last)) : std::nullopt;
    if (low >= high) {
      // Covered nothing: must cover nothing still.
      if (range.low(sorted_, newFirst ? &*newFirst : nullptr) <
              range.high(sorted_, newLast ? &*newLast : nullptr) &&
          !intoGap(low, range, newFirst, newLast)) {
        return false;
      }
    } else {
      if (!bounds_) {
        bounds_.emplace(rank_);
      }
      const auto [lowest, highest] = bounds_->of(low, high);
      if (highest - lowest + 1 != high - low || (!first && lowest != 0) || (!last && highest != count - 1)) {
        return false;
      }
      if (!keepFirst(newFirst, lowest, range.openFirst) || !keepLast(newLast, highest, range.openLast)) {
        return false;
      }
    }
    if (first && *newFirst != *first) {
      out.push_back({line, range.firstIndex, *newFirst});
    }
    if (last && *newLast != *last) {
      out.push_back({line, range.lastIndex, *newLast});
    }
    return true;
  }

  // The lower end `end` bounds the lines from the new `lowest` on; else it
  // becomes the line's new number, or for an open end the number of the
  // line before.
  bool keepFirst(std::optional<LineNumber> &end, size_t lowest, bool open) const {
    if (!end) {
      return true;
    }
    const bool below = open ? *end < sorted_[lowest] : *end <= sorted_[lowest];
    const bool above = lowest == 0 || (open ? sorted_[lowest - 1] <= *end : sorted_[lowest - 1] < *end);
    if (below && above) {
      return true;
    }
    if (!open || lowest > 0) {
      end = sorted_[open ? lowest - 1 : lowest];
      return true;
    }
    if (sorted_[lowest].isLong() || sorted_[lowest].value() == 0) {
      return false;
    }
    end = LineNumber(sorted_[lowest].value() - 1);
    return true;
  }

  // The upper end, as keepFirst.
  bool keepLast(std::optional<LineNumber> &end, size_t highest, bool open) const {
    if (!end) {
      return true;
    }
    const size_t count = sorted_.size();
    const bool above = open ? sorted_[highest] < *end : sorted_[highest] <= *end;
    const bool below =
        highest + 1 == count || (open ? *end <= sorted_[highest + 1] : *end < sorted_[highest + 1]);
    if (above && below) {
      return true;
    }
    if (!open || highest + 1 < count) {
      end = sorted_[open ? highest + 1 : highest];
      return true;
    }
    if (sorted_[highest].exceeds(kLargestLineNumber)) {
      return false;
    }
    end = LineNumber(sorted_[highest].value() + 1);
    return true;
  }

  bool isLine(quint64 number) const {
    return std::binary_search(sorted_.begin(), sorted_.end(), LineNumber(number));
  }

  // Moves a range that covered no line, and now would, where it covers
  // none again: above the last line, below the first, or between lines
  // near where it stood (after the line that came before it), as wide as
  // it was where there is room.  False when there is no such place.
  bool intoGap(size_t low, const Range &range, std::optional<LineNumber> &newFirst,
               std::optional<LineNumber> &newLast) const {
    const LineNumber *first = range.first != nullptr ? &range.first->target : nullptr;
    const LineNumber *last = range.last != nullptr ? &range.last->target : nullptr;
    const quint64 lowest = sorted_.front().value();
    const quint64 highest = sorted_.back().value();
    if (sorted_.back().exceeds(kLargestLineNumber) || (first && first->isLong()) ||
        (last && last->isLong())) {
      return false;
    }
    if (!last) {
      newFirst = LineNumber(range.openFirst ? highest : highest + 1);
      return range.openFirst || highest < kLargestLineNumber;
    }
    if (!first) {
      newLast = LineNumber(range.openLast ? lowest : lowest - 1);
      return range.openLast || lowest > 0;
    }
    if (*last < *first) { // reversed as written: it stays so
      newFirst = *first;
      newLast = *last;
      return true;
    }
    const quint64 before = low > 0 ? newNumber(numbers_.from[low - 1]).value() + 1 : 0;
    for (const quint64 at : {before, highest + 1, lowest - 1}) {
      if (at <= static_cast<quint64>(kLargestLineNumber) && !isLine(at)) {
        const auto next = std::upper_bound(sorted_.begin(), sorted_.end(), LineNumber(at));
        const quint64 room = next == sorted_.end() ? quint64(kLargestLineNumber) : next->value() - 1;
        newFirst = LineNumber(at);
        newLast = LineNumber(std::min(at + (last->value() - first->value()), room));
        return true;
      }
    }
    return false;
  }

  const Renumbering &numbers_;
  // The new numbers rising, and where each line's new number stands in them.
  std::vector<LineNumber> sorted_;
  std::vector<size_t> rank_;
  std::optional<StretchBounds> bounds_;
};

} // namespace

std::span<const RangeEndChange> KeptRanges::forLine(size_t line) const {
  const auto [first, end] =
      std::equal_range(changes.begin(), changes.end(), RangeEndChange{line, 0, {}},
                       [](const RangeEndChange &a, const RangeEndChange &b) { return a.line < b.line; });
  return {first, end};
}

KeptRanges keepRanges(const std::vector<ProgramLine> &lines, const Renumbering &numbers) {
  KeptRanges kept;
  // Set up at the first range: most programs have none.
  std::optional<RangeKeeper> keeper;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::vector<LineReference> &refs = lines[i].references;
    if (std::none_of(refs.begin(), refs.end(),
                     [](const LineReference &r) { return r.range != RangeEnd::None; })) {
      continue;
    }
    if (!keeper) {
      keeper.emplace(numbers);
    }
    if (!keeper->keep(i, refs, kept.changes)) {
      kept.brokenLine = i;
      kept.changes.clear();
      break;
    }
  }
  return kept;
}

QString brokenRangeMessage(const LineNumber &line) {
  return QStringLiteral("行 %1 の範囲指定が、番号を変えた後には元と同じ行だけを指せなくなります。")
      .arg(line.toString());
}

} // namespace kavrin::basic
