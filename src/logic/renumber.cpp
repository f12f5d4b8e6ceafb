#include "logic/renumber.h"

#include "logic/basic_reader.h"

#include <algorithm>

namespace kavrin::basic {
namespace {

// The old numbers of the renumbered lines, strictly increasing.  The long
// ones, above all the others, stand apart, so that a search walks plain
// integers.
class OldNumbers {
public:
  bool empty() const { return size() == 0; }
  size_t size() const { return short_.size() + long_.size(); }
  const LineNumber &back() const { return back_; }

  void push_back(const LineNumber &number) {
    if (number.isLong()) {
      long_.push_back(number);
    } else {
      short_.push_back(number.value());
    }
    back_ = number;
  }

  // The place of `number`, or -1.
  qsizetype indexOf(const LineNumber &number) const {
    if (number.isLong()) {
      const auto found = std::lower_bound(long_.begin(), long_.end(), number);
      return found != long_.end() && *found == number
                 ? static_cast<qsizetype>(short_.size()) + (found - long_.begin())
                 : -1;
    }
    const auto found = std::lower_bound(short_.begin(), short_.end(), number.value());
    return found != short_.end() && *found == number.value() ? found - short_.begin() : -1;
  }

private:
  std::vector<quint64> short_;
  std::vector<LineNumber> long_;
  LineNumber back_;
};

// The text read, and which of its lines get new numbers.
struct Plan {
  TextLines split;
  std::vector<ProgramLine> lines;
  // Index of the first renumbered line.
  size_t first = 0;
  OldNumbers oldNumbers;
  // Of the program lines before them, sorted.
  std::vector<LineNumber> earlier;
};

RenumberResult refused(RenumberRefusal why, const QString &message) {
  RenumberResult result;
  result.refusal = why;
  result.error = message;
  return result;
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
  if (plan.first == lines.size()) {
    return refused(RenumberRefusal::NothingToRenumber, QStringLiteral("番号を振り直す行がありません。"));
  }
  for (size_t i = plan.first; i < lines.size(); ++i) {
    if (!lines[i].isProgram) {
      continue;
    }
    if (!plan.oldNumbers.empty() && lines[i].number <= plan.oldNumbers.back()) {
      return refused(
          RenumberRefusal::OutOfOrder,
          QStringLiteral("行 %1 の行番号が前の行より大きくありません。先に行番号順に整列してください。")
              .arg(lines[i].number.toString()));
    }
    plan.oldNumbers.push_back(lines[i].number);
  }
  std::sort(plan.earlier.begin(), plan.earlier.end());
  if (!plan.earlier.empty() && LineNumber(static_cast<quint64>(request.newStart)) <= plan.earlier.back()) {
    return refused(
        RenumberRefusal::Overlap,
        QStringLiteral("新しい行番号が範囲より前の行 %1 と重なります。").arg(plan.earlier.back().toString()));
  }
  const qint64 last =
      qint64(request.newStart) + qint64(request.increment) * qint64(plan.oldNumbers.size() - 1);
  if (last > kLargestLineNumber) {
    return refused(RenumberRefusal::TooLarge,
                   QStringLiteral("新しい行番号が %1 を超えます。").arg(kLargestLineNumber));
  }
  return std::nullopt;
}

// Writes the new text in one pass.
class Writer {
public:
  Writer(const Plan &plan, const RenumberRequest &request) : plan_(plan), request_(request) {}

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
  // The new number of an old one, or -1 when it is not renumbered.
  int newNumber(const LineNumber &old) const {
    const qsizetype index = plan_.oldNumbers.indexOf(old);
    return index < 0 ? -1 : request_.newStart + request_.increment * static_cast<int>(index);
  }

  bool isEarlier(const LineNumber &number) const {
    return std::binary_search(plan_.earlier.begin(), plan_.earlier.end(), number);
  }

  // Copies the line up to `upTo`, then writes `number` for the digits that end at `after`.
  void replace(QStringView s, qsizetype upTo, qsizetype after, int number) {
    result_.text.append(s.sliced(done_, upTo - done_));
    char16_t digits[12];
    int n = 0;
    do {
      digits[n++] = static_cast<char16_t>(u'0' + number % 10);
      number /= 10;
    } while (number > 0);
    std::reverse(digits, digits + n);
    result_.text.append(QStringView(digits, n));
    done_ = after;
  }

  void line(size_t i) {
    const QStringView s = plan_.split.lines[i];
    const ProgramLine &read = plan_.lines[i];
    done_ = 0;
    LineNumber shown = read.number;
    if (read.isProgram && i >= plan_.first) {
      const int number = request_.newStart + request_.increment * result_.renumbered++;
      replace(s, read.numberStart, read.numberStart + read.numberLength, number);
      shown = LineNumber(static_cast<quint64>(number));
    }
    for (const LineReference &ref : read.references) {
      if (const int target = newNumber(ref.target); target >= 0) {
        replace(s, ref.start, ref.start + ref.length, target);
      } else if (!isEarlier(ref.target)) {
        result_.missing.push_back({shown, ref.target});
      }
    }
    result_.text.append(s.sliced(done_));
  }

  const Plan &plan_;
  const RenumberRequest &request_;
  RenumberResult result_;
  qsizetype done_ = 0;
};

} // namespace

RenumberResult renumber(QStringView text, const RenumberRequest &request) {
  if (request.newStart < 1 || request.increment < 1) {
    return refused(RenumberRefusal::BadValue, renumberValueMessage());
  }
  Plan plan;
  plan.split = splitLines(text);
  plan.lines.reserve(plan.split.lines.size());
  for (const QStringView line : plan.split.lines) {
    plan.lines.push_back(readLine(line));
  }
  if (std::optional<RenumberResult> refusal = checkRange(plan, request)) {
    return std::move(*refusal);
  }
  return Writer(plan, request).run(text.size());
}

QString renumberReport(const RenumberResult &result) {
  // More than this are counted, not listed.
  constexpr size_t kListed = 20;
  QString report = QStringLiteral("%1 行の番号を振り直しました。\n").arg(result.renumbered);
  if (result.missing.empty()) {
    return report + QStringLiteral("すべての参照先が見つかりました。");
  }
  report += QStringLiteral("見つからない参照先:");
  for (size_t i = 0; i < std::min(kListed, result.missing.size()); ++i) {
    report += QStringLiteral("\n行 %1: %2")
                  .arg(result.missing[i].line.toString(), result.missing[i].target.toString());
  }
  if (result.missing.size() > kListed) {
    report += QStringLiteral("\nほか %1 件").arg(result.missing.size() - kListed);
  }
  return report;
}

QString renumberValueMessage() { return QStringLiteral("開始番号と増分は 1 以上の整数で指定してください。"); }

} // namespace kavrin::basic
