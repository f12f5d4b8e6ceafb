#include "logic/sort_lines.h"

#include "logic/basic_reader.h"
#include "logic/line_groups.h"

#include <algorithm>
#include <numeric>

namespace kavrin::basic {
namespace {

class Writer {
public:
  Writer(const TextLines &split, SortResult &result) : split_(split), result_(result) {
    qsizetype size = 0;
    for (const QStringView line : split.lines) {
      size += line.size() + 1;
    }
    result_.text.reserve(size);
    result_.newLineOf.assign(split.lines.size(), -1);
  }

  void put(int from, int end) {
    for (int i = from; i < end; ++i) {
      if (next_ > 0) {
        result_.text.append(u'\n');
      }
      result_.text.append(split_.lines[i]);
      result_.newLineOf[i] = next_++;
    }
  }

  void finish() {
    if (split_.endsWithBreak) {
      result_.text.append(u'\n');
    }
  }

private:
  const TextLines &split_;
  SortResult &result_;
  int next_ = 0;
};

} // namespace

SortResult sortLines(QStringView text) {
  SortResult result;
  const TextLines split = splitLines(text);
  const LineGroups<LineGroup> layout = groupLines(static_cast<int>(split.lines.size()),
                                                  [&split](int i) { return readLineNumber(split.lines[i]); });
  if (firstOutOfOrder(layout.groups) == layout.groups.end()) {
    result.newLineOf.resize(split.lines.size());
    std::iota(result.newLineOf.begin(), result.newLineOf.end(), 0);
    return result;
  }
  // The sort walks plain integers; long numbers, past them all, compare
  // in full among themselves.
  constexpr quint64 kLongKey = ~quint64(0);
  std::vector<quint64> keys;
  keys.reserve(layout.groups.size());
  for (const LineGroup &group : layout.groups) {
    keys.push_back(group.number.isLong() ? kLongKey : group.number.value());
  }
  std::vector<int> order(layout.groups.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const quint64 x = keys[a];
    const quint64 y = keys[b];
    return x != y ? x < y : x == kLongKey && layout.groups[a].number < layout.groups[b].number;
  });
  result.changed = true;
  Writer out(split, result);
  out.put(0, layout.head);
  // Equal numbers stand together in file order and the last one survives.
  // The followers of the dropped ones come after it, then its own, all in
  // file order, so that no text but the dropped program lines is lost.
  for (size_t k = 0; k < order.size();) {
    size_t run = k + 1;
    while (run < order.size() && layout.groups[order[run]].number == layout.groups[order[k]].number) {
      ++run;
    }
    const LineGroup &survivor = layout.groups[order[run - 1]];
    out.put(survivor.first, survivor.first + 1);
    for (size_t j = k; j < run; ++j) {
      const LineGroup &group = layout.groups[order[j]];
      out.put(group.first + 1, group.end);
    }
    if (run - k > 1) {
      result.replaced.push_back(survivor.number);
    }
    k = run;
  }
  out.finish();
  return result;
}

QString sortReport(const SortResult &result) {
  if (!result.changed) {
    return QStringLiteral("すでに行番号順に並んでいます。");
  }
  QString report = QStringLiteral("行番号順に整列しました。");
  // More than this are counted, not listed.
  constexpr size_t kListed = 20;
  if (!result.replaced.empty()) {
    QStringList numbers;
    for (size_t i = 0; i < std::min(kListed, result.replaced.size()); ++i) {
      numbers << result.replaced[i].toString();
    }
    report += QStringLiteral("同じ番号の後の行で置き換えた行: %1").arg(numbers.join(QStringLiteral(", ")));
    if (result.replaced.size() > kListed) {
      report += QStringLiteral(" ほか %1 件").arg(result.replaced.size() - kListed);
    }
  }
  return report;
}

} // namespace kavrin::basic
