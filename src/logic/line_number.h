#pragma once

#include <QExplicitlySharedDataPointer>
#include <QSharedData>
#include <QString>
#include <QStringView>

#include <compare>
#include <limits>

namespace kavrin::basic {

inline bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
inline bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
inline bool isBlankText(QStringView text) {
  for (const QChar c : text) {
    if (!isBlank(c)) {
      return false;
    }
  }
  return true;
}

// Where the number that a line begins with stands: after any blanks when
// `afterBlanks`, and at most `most` digits.  Its length is 0 when there is
// none.
struct LeadingNumber {
  qsizetype start = 0;
  qsizetype length = 0;
};
LeadingNumber findLeadingNumber(QStringView line, bool afterBlanks,
                                qsizetype most = std::numeric_limits<qsizetype>::max());

// How a row names the line `text` at `index` (from 0): by its BASIC number,
// 「行 120」, or without one by its place, 「(4 行目、番号なし)」.
QString lineLabel(QStringView text, int index);

// A line number as written, of any length, compared by value: leading
// zeros do not count.  Almost every number fits the integer; only one of
// more significant digits than it holds keeps its digits.
class LineNumber {
public:
  // Significant digits that always fit the integer.
  static constexpr qsizetype kIntegerDigits = 19;

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

} // namespace kavrin::basic
