#include "logic/program_check.h"

#include "logic/basic_reader.h"
#include "logic/program_rules.h"
#include "platform/cp932.h"

#include <QStringBuilder>

#include <algorithm>

namespace kavrin::basic {
namespace {

// The machine holds at most this many bytes of one line.
constexpr qsizetype kLongestLineBytes = 255;
// No character takes more than two bytes, so shorter lines need no encoding.
constexpr qsizetype kShortestLongLine = kLongestLineBytes / 2 + 1;

// The line numbers the machine takes that the program has; a reference to
// a larger one is out of range whatever the text holds.
class NumberSet {
public:
  explicit NumberSet(const std::vector<ProgramLine> &reads) : has_(kLargestLineNumber + 1, false) {
    for (const ProgramLine &read : reads) {
      if (read.isProgram && !read.number.exceeds(kLargestLineNumber)) {
        has_[read.number.value()] = true;
      }
    }
  }

  bool contains(const LineNumber &number) const { return has_[number.value()]; }

private:
  std::vector<bool> has_;
};

class Checker {
public:
  Checker(const TextLines &split, const std::vector<ProgramLine> &reads)
      : split_(split), reads_(reads), numbers_(reads) {}

  std::vector<Finding> run() {
    for (size_t i = 0; i < split_.lines.size(); ++i) {
      index_ = static_cast<int>(i);
      checkLine(split_.lines[i], reads_[i]);
    }
    return std::move(findings_);
  }

private:
  void add(const QString &message, qsizetype column = -1) {
    findings_.push_back({index_, message, CheckRule::Basic, true, {}, column});
  }

  void checkLine(QStringView text, const ProgramLine &line) {
    if (line.isProgram) {
      checkNumber(line);
      for (const LineReference &ref : line.references) {
        checkReference(ref);
      }
    } else if (!isBlankText(text)) {
      add(noNumberMessage());
    }
    if (const qsizetype bytes = overlongBytes(text); bytes > 0) {
      add(tooLongMessage(bytes));
    }
  }

  void checkNumber(const ProgramLine &line) {
    if (hasPrevious_ && line.number <= previous_) {
      add(orderMessage(line.number, previous_));
    }
    if (line.number.exceeds(kLargestLineNumber)) {
      add(numberTooLargeMessage(line.number));
    }
    previous_ = line.number;
    hasPrevious_ = true;
  }

  void checkReference(const LineReference &ref) {
    if (ref.target.exceeds(kLargestLineNumber)) {
      add(QStringLiteral("行 ") % ref.target.toString() % QStringLiteral(" への参照は範囲外です (") %
              largest_ % QStringLiteral(" まで)"),
          ref.start);
    } else if (!ref.endsRange() && !numbers_.contains(ref.target)) {
      add(missingLineMessage(ref.target), ref.start);
    }
  }

  const TextLines &split_;
  const std::vector<ProgramLine> &reads_;
  NumberSet numbers_;
  const QString largest_ = QString::number(kLargestLineNumber);
  std::vector<Finding> findings_;
  int index_ = 0;
  bool hasPrevious_ = false;
  LineNumber previous_;
};

} // namespace

qsizetype overlongBytes(QStringView line) {
  if (line.size() < kShortestLongLine) {
    return 0;
  }
  const qsizetype bytes = cp932::encode(line).bytes.size();
  return bytes > kLongestLineBytes ? bytes : 0;
}

QString tooLongMessage(qsizetype bytes) {
  return QStringLiteral("1 行が %1 バイトを超えています (%2 バイト)").arg(kLongestLineBytes).arg(bytes);
}

// Joined rather than formatted: a shuffled or oversized program has one of
// these on nearly every line.
QString orderMessage(const LineNumber &number, const LineNumber &previous) {
  if (number == previous) {
    return QStringLiteral("行番号 ") % number.toString() % QStringLiteral(" が重複しています");
  }
  return QStringLiteral("行番号 ") % number.toString() % QStringLiteral(" が前の行番号 ") %
         previous.toString() % QStringLiteral(" より小さくなっています");
}

QString numberTooLargeMessage(const LineNumber &number) {
  return QStringLiteral("行番号 ") % number.toString() % QStringLiteral(" が ") %
         QString::number(kLargestLineNumber) % QStringLiteral(" を超えています");
}

QString missingLineMessage(const LineNumber &target) {
  return QStringLiteral("行 ") % target.toString() %
         QStringLiteral(" への参照がありますが、その行はありません");
}

QString noNumberMessage() { return QStringLiteral("行番号がありません"); }

std::vector<Finding> checkProgram(QStringView text, const KeywordMatcher &keywords,
                                  const CheckOptions &options, const SourceLines *source) {
  const TextLines split = splitLines(text);
  std::vector<ProgramLine> reads;
  reads.reserve(split.lines.size());
  for (const QStringView line : split.lines) {
    reads.push_back(readLine(line, keywords));
  }
  std::vector<Finding> findings = Checker(split, reads).run();
  std::vector<Finding> more = checkRules(split, reads, keywords, options, source);
  if (!more.empty()) {
    const auto middle = findings.insert(findings.end(), std::make_move_iterator(more.begin()),
                                        std::make_move_iterator(more.end()));
    std::inplace_merge(findings.begin(), middle, findings.end(),
                       [](const Finding &a, const Finding &b) { return a.line < b.line; });
  }
  // Findings of one line share its label.
  QString where;
  int labelled = -1;
  for (Finding &finding : findings) {
    if (finding.line >= 0) {
      if (finding.line != labelled) {
        labelled = finding.line;
        where = lineLabel(split.lines[static_cast<std::size_t>(finding.line)], finding.line);
      }
      finding.where = where;
    }
  }
  return findings;
}

std::vector<Finding> checkProgram(QStringView text) {
  CheckOptions basicOnly;
  basicOnly.on.fill(false);
  return checkProgram(text, KeywordMatcher(), basicOnly);
}

MarkedSpan markedSpan(QStringView line) {
  const ProgramLine read = readLineNumber(line);
  if (read.isProgram) {
    return {read.numberStart, read.numberLength};
  }
  qsizetype start = 0;
  while (start < line.size() && isBlank(line[start])) {
    ++start;
  }
  qsizetype end = start;
  while (end < line.size() && !isBlank(line[end])) {
    ++end;
  }
  return {start, end - start};
}

} // namespace kavrin::basic
