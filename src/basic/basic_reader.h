#pragma once

#include <QExplicitlySharedDataPointer>
#include <QSharedData>
#include <QString>
#include <QStringList>
#include <QStringView>

#include "basic/keyword_matcher.h"

#include <compare>
#include <vector>

// Reading BASIC program lines as the machine's BASIC reads them when it
// stores a line: keywords are found without regard to case or to the
// letters around them, the longest one at each place.
namespace kavrin::basic {

// Line numbers above this are refused by the machine.
inline constexpr int kLargestLineNumber = 65529;

// A line number as written, of any length, compared by value: leading
// zeros do not count.  Almost every number fits the integer; only one of
// more significant digits than it holds keeps its digits.
class LineNumber {
public:
  LineNumber() = default;
  explicit LineNumber(quint64 value) : value_(value) {}
  // `digits` holds decimal digits only, at least one.
  static LineNumber fromDigits(QStringView digits);

  // More digits than the integer holds: value() does not apply.
  bool isLong() const { return digits_ != nullptr; }
  quint64 value() const { return value_; }
  bool exceeds(quint64 limit) const { return isLong() || value_ > limit; }
  // The digits without leading zeros.
  QString toString() const;

  friend bool operator==(const LineNumber &a, const LineNumber &b) {
    return a.value_ == b.value_ && a.isLong() == b.isLong() &&
           (!a.isLong() || a.digits_->text == b.digits_->text);
  }
  friend std::strong_ordering operator<=>(const LineNumber &a, const LineNumber &b) {
    if (!a.isLong() && !b.isLong()) [[likely]] {
      return a.value_ <=> b.value_;
    }
    return compareLong(a, b);
  }

private:
  static std::strong_ordering compareLong(const LineNumber &a, const LineNumber &b);

  struct Digits : QSharedData {
    QString text;
  };

  quint64 value_ = 0; // a long number's count of digits
  // Null unless long: a pointer keeps the common number small to copy.
  QExplicitlySharedDataPointer<Digits> digits_;
};

// A number that names a line: where its digits stand and their value.
struct LineReference {
  qsizetype start = 0;
  qsizetype length = 0;
  LineNumber target;
  // The end of a LIST or DELETE range after its dash: it bounds what is
  // listed or deleted and need not name a line that is there.
  bool endsRange = false;
};

struct ProgramLine {
  // Starts with optional blanks and a line number.
  bool isProgram = false;
  qsizetype numberStart = 0;
  qsizetype numberLength = 0;
  LineNumber number;
  // In the order they stand.
  std::vector<LineReference> references;
};

// The line number only; the statements are not read.
ProgramLine readLineNumber(QStringView line);
// The line number and every line reference in the statements.
ProgramLine readLine(QStringView line);

enum class SpanKind { LineNumber, Keyword, String, Comment };

struct Span {
  qsizetype start = 0;
  qsizetype length = 0;
  SpanKind kind = SpanKind::Keyword;
};

// The parts of a line to colour, in order; `keywords` are the words shown
// as keywords.  Text that is not a program line has none.
std::vector<Span> colourSpans(QStringView line, const KeywordMatcher &keywords);

// A text's lines without their line breaks ('\n').  A break at the very
// end ends the last line and does not start another.
struct TextLines {
  std::vector<QStringView> lines;
  bool endsWithBreak = false;
};
TextLines splitLines(QStringView text);

// Reads the decimal digits at `pos`; `length` is 0 when there are none.
LineNumber readNumber(QStringView text, qsizetype pos, qsizetype &length);

} // namespace kavrin::basic
