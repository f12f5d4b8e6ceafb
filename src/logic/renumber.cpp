#include "logic/renumber.h"

#include "logic/basic_reader.h"

#include <algorithm>

namespace kavrin::basic {
namespace {

// The text read, and which of its lines get new numbers.
struct Plan {
  TextLines split;
  std::vector<ProgramLine> lines;
  // Index of the first renumbered line.
  size_t first = 0;
  NumberMap map;
  // Of the program lines before them, sorted.
  std::vector<LineNumber> earlier;
  // Of the program lines after them, in order.
  std::vector<LineNumber> later;
  // Of the renumbered lines, in order.
  std::vector<LineNumber> range;
  int newStart = 0;
  int increment = 1;
  KeptRanges ranges;

  // The new number of a renumbered line.
  bool isNewNumber(const LineNumber &number) const {
    if (number.exceeds(kLargestLineNumber) || number.value() < quint64(newStart)) {
      return false;
    }
    const quint64 steps = (number.value() - quint64(newStart)) / quint64(increment);
    return (number.value() - quint64(newStart)) % quint64(increment) == 0 && steps < range.size();
  }
};

RenumberResult refused(RenumberRefusal why, const QString &message) {
  RenumberResult result;
  result.refusal = why;
  result.error = message;
  return result;
}

// From the first renumbered line on, the lines must be in order; those up to
// the last old line go into `range`, the others into the plan's later ones.
std::optional<RenumberResult> readTail(Plan &plan, const RenumberRequest &request) {
  const LineNumber *previous = nullptr;
  for (size_t i = plan.first; i < plan.lines.size(); ++i) {
    if (!plan.lines[i].isProgram) {
      continue;
    }
    const LineNumber &number = plan.lines[i].number;
    if (previous != nullptr && number <= *previous) {
      return refused(RenumberRefusal::OutOfOrder, outOfOrderMessage(number));
    }
    previous = &number;
    (!request.oldEnd || number <= *request.oldEnd ? plan.range : plan.later).push_back(number);
  }
  return std::nullopt;
}

bool holds(const std::vector<LineNumber> &sorted, const LineNumber &number) {
  return std::binary_search(sorted.begin(), sorted.end(), number);
}

// In a range, a reference to a missing line would silently come to name a
// renumbered line that took its number.
std::optional<RenumberResult> checkMissingTargets(const Plan &plan) {
  for (const ProgramLine &line : plan.lines) {
    for (const LineReference &reference : line.references) {
      const LineNumber &target = reference.target;
      if (reference.range != RangeEnd::None || !plan.isNewNumber(target) || holds(plan.earlier, target) ||
          holds(plan.range, target) || holds(plan.later, target)) {
        continue;
      }
      return refused(
          RenumberRefusal::Overlap,
          QStringLiteral("新しい行番号 %1 は、ない行への参照が指しています。").arg(target.toString()));
    }
  }
  return std::nullopt;
}

std::optional<RenumberResult> checkRange(Plan &plan, const RenumberRequest &request) {
  const std::vector<ProgramLine> &lines = plan.lines;
  plan.first = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!lines[i].isProgram) {
      continue;
    }
    if (!request.oldStart || lines[i].number >= *request.oldStart) {
      plan.first = i;
      break;
    }
    plan.earlier.push_back(lines[i].number);
  }
  const QString nothing = QStringLiteral("番号を振り直す行がありません。");
  if (plan.first == lines.size()) {
    return refused(RenumberRefusal::NothingToRenumber, nothing);
  }
  const std::vector<LineNumber> &range = plan.range;
  if (std::optional<RenumberResult> refusal = readTail(plan, request)) {
    return refusal;
  }
  if (range.empty()) {
    return refused(RenumberRefusal::NothingToRenumber, nothing);
  }
  std::sort(plan.earlier.begin(), plan.earlier.end());
  if (!plan.earlier.empty() && LineNumber(static_cast<quint64>(request.newStart)) <= plan.earlier.back()) {
    return refused(
        RenumberRefusal::Overlap,
        QStringLiteral("新しい行番号が範囲より前の行 %1 と重なります。").arg(plan.earlier.back().toString()));
  }
  const qint64 last = qint64(request.newStart) + qint64(request.increment) * qint64(range.size() - 1);
  if (last > kLargestLineNumber) {
    return refused(RenumberRefusal::TooLarge, tooLargeMessage());
  }
  if (!plan.later.empty() && LineNumber(static_cast<quint64>(last)) >= plan.later.front()) {
    return refused(
        RenumberRefusal::OverlapAfter,
        QStringLiteral("新しい行番号が範囲より後の行 %1 と重なります。").arg(plan.later.front().toString()));
  }
  for (size_t k = 0; k < range.size(); ++k) {
    plan.map.add(range[k], request.newStart + request.increment * static_cast<int>(k));
  }
  if (request.oldEnd) {
    return checkMissingTargets(plan);
  }
  return std::nullopt;
}

// Every range keeps the lines it covers, or the renumber is refused.
std::optional<RenumberResult> keepPlanRanges(Plan &plan) {
  Renumbering numbers;
  const auto keep = [&numbers](const LineNumber &from, const LineNumber &to) {
    if (numbers.from.empty() || numbers.from.back() != from) {
      numbers.from.push_back(from);
      numbers.to.push_back(to);
    }
  };
  for (const LineNumber &number : plan.earlier) {
    keep(number, number);
  }
  for (size_t k = 0; k < plan.range.size(); ++k) {
    keep(plan.range[k], LineNumber(quint64(plan.newStart) + quint64(plan.increment) * k));
  }
  for (const LineNumber &number : plan.later) {
    keep(number, number);
  }
  plan.ranges = keepRanges(plan.lines, numbers);
  if (const std::optional<size_t> broken = plan.ranges.brokenLine) {
    return refused(RenumberRefusal::BrokenRange, brokenRangeMessage(plan.lines[*broken].number));
  }
  return std::nullopt;
}

// Writes the new text in one pass.
class Writer {
public:
  explicit Writer(const Plan &plan) : plan_(plan) {}

  RenumberResult run(qsizetype size) {
    result_.text.reserve(size + size / 8 + 16);
    const std::vector<QStringView> &lines = plan_.split.lines;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (i > 0) {
        result_.text.append(u'\n');
      }
      line(i);
    }
    if (plan_.split.endsWithBreak) {
      result_.text.append(u'\n');
    }
    return std::move(result_);
  }

private:
  // A line of the program that keeps its number.
  bool isKept(const LineNumber &number) const {
    return std::binary_search(plan_.earlier.begin(), plan_.earlier.end(), number) ||
           std::binary_search(plan_.later.begin(), plan_.later.end(), number);
  }

  void line(size_t i) {
    const ProgramLine &read = plan_.lines[i];
    unmapped_.clear();
    const int own = appendRenumbered(result_.text, plan_.split.lines[i], read, plan_.map,
                                     plan_.ranges.forLine(i), &unmapped_);
    result_.renumbered += own >= 0 ? 1 : 0;
    for (const LineNumber &target : unmapped_) {
      if (!isKept(target)) {
        (plan_.isNewNumber(target) ? result_.retargeted : result_.missing)
            .push_back({own >= 0 ? LineNumber(static_cast<quint64>(own)) : read.number, target});
      }
    }
  }

  const Plan &plan_;
  RenumberResult result_;
  std::vector<LineNumber> unmapped_;
};

void appendNumber(QString &out, const LineNumber &number) { out.append(number.toString()); }

void appendNumber(QString &out, int number) {
  char16_t digits[12];
  int n = 0;
  do {
    digits[n++] = static_cast<char16_t>(u'0' + number % 10);
    number /= 10;
  } while (number > 0);
  std::reverse(digits, digits + n);
  out.append(QStringView(digits, n));
}

// A heading and a few of `references`, if there are any.
void appendReferences(QString &report, const QString &heading,
                      const std::vector<MissingReference> &references) {
  // More than this are counted, not listed.
  constexpr size_t kListed = 20;
  if (references.empty()) {
    return;
  }
  report += u'\n' + heading;
  for (size_t i = 0; i < std::min(kListed, references.size()); ++i) {
    report +=
        QStringLiteral("\n行 %1: %2").arg(references[i].line.toString(), references[i].target.toString());
  }
  if (references.size() > kListed) {
    report += QStringLiteral("\nほか %1 件").arg(references.size() - kListed);
  }
}

} // namespace

RenumberResult renumber(QStringView text, const RenumberRequest &request, const KeywordMatcher &keywords) {
  if (request.newStart < 1 || request.increment < 1) {
    return refused(RenumberRefusal::BadValue, renumberValueMessage());
  }
  if (request.oldStart && request.oldEnd && *request.oldEnd < *request.oldStart) {
    return refused(RenumberRefusal::BadRange,
                   QStringLiteral("最後の旧行番号が振り直す最初の行より小さくなっています。"));
  }
  Plan plan;
  plan.newStart = request.newStart;
  plan.increment = request.increment;
  plan.split = splitLines(text);
  plan.lines.reserve(plan.split.lines.size());
  for (const QStringView line : plan.split.lines) {
    plan.lines.push_back(readLine(line, keywords));
  }
  std::optional<RenumberResult> refusal = checkRange(plan, request);
  if (!refusal) {
    refusal = keepPlanRanges(plan);
  }
  return refusal ? std::move(*refusal) : Writer(plan).run(text.size());
}

QString renumberReport(const RenumberResult &result) {
  QString report = QStringLiteral("%1 行の番号を振り直しました。").arg(result.renumbered);
  if (result.missing.empty() && result.retargeted.empty()) {
    return report + QStringLiteral("\nすべての参照先が見つかりました。");
  }
  appendReferences(report, QStringLiteral("見つからない参照先:"), result.missing);
  appendReferences(report, QStringLiteral("振り直した行を新たに指すようになった参照:"), result.retargeted);
  return report;
}

QString renumberValueMessage() { return QStringLiteral("開始番号と増分は 1 以上の整数で指定してください。"); }

QString outOfOrderMessage(const LineNumber &line) {
  return QStringLiteral("行 %1 の行番号が前の行より大きくありません。先に行番号順に整列してください。")
      .arg(line.toString());
}

QString tooLargeMessage() { return QStringLiteral("新しい行番号が %1 を超えます。").arg(kLargestLineNumber); }

void NumberMap::add(const LineNumber &from, int to) {
  if (from.isLong()) {
    longFrom_.push_back(from);
    longTo_.push_back(to);
  } else {
    shortFrom_.push_back(from.value());
    shortTo_.push_back(to);
  }
}

int NumberMap::find(const LineNumber &from) const {
  if (from.isLong()) {
    const auto found = std::lower_bound(longFrom_.begin(), longFrom_.end(), from);
    return found != longFrom_.end() && *found == from ? longTo_[size_t(found - longFrom_.begin())] : -1;
  }
  const auto found = std::lower_bound(shortFrom_.begin(), shortFrom_.end(), from.value());
  return found != shortFrom_.end() && *found == from.value() ? shortTo_[size_t(found - shortFrom_.begin())]
                                                             : -1;
}

int appendRenumbered(QString &out, QStringView line, const ProgramLine &read, const NumberMap &map,
                     std::span<const RangeEndChange> ends, std::vector<LineNumber> *unmapped) {
  qsizetype done = 0;
  const auto replace = [&](qsizetype start, qsizetype length, const auto &number) {
    out.append(line.sliced(done, start - done));
    appendNumber(out, number);
    done = start + length;
  };
  const int own = read.isProgram ? map.find(read.number) : -1;
  if (own >= 0) {
    replace(read.numberStart, read.numberLength, own);
  }
  for (size_t r = 0; r < read.references.size(); ++r) {
    const LineReference &ref = read.references[r];
    if (ref.range != RangeEnd::None) {
      if (!ends.empty() && ends.front().reference == r) {
        replace(ref.start, ref.length, ends.front().to);
        ends = ends.subspan(1);
      }
    } else if (const int to = map.find(ref.target); to >= 0) {
      replace(ref.start, ref.length, to);
    } else if (unmapped != nullptr) {
      unmapped->push_back(ref.target);
    }
  }
  out.append(line.sliced(done));
  return own;
}

} // namespace kavrin::basic
