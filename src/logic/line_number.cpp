#include "logic/line_number.h"

namespace kavrin::basic {

LeadingNumber findLeadingNumber(QStringView line, bool afterBlanks, qsizetype most) {
  qsizetype start = 0;
  while (afterBlanks && start < line.size() && isBlank(line[start])) {
    ++start;
  }
  qsizetype end = start;
  while (end < line.size() && end - start < most && isDigit(line[end])) {
    ++end;
  }
  return {start, end - start};
}

QString lineLabel(QStringView text, int index) {
  const LeadingNumber number = findLeadingNumber(text, true);
  if (number.length == 0) {
    return QStringLiteral("(%1 行目、番号なし)").arg(index + 1);
  }
  // The canonical digits, as LineNumber prints them; each row of a long
  // list is named once, so without a LineNumber of its own.
  QStringView digits = text.sliced(number.start, number.length);
  while (digits.size() > 1 && digits.front() == u'0') {
    digits = digits.sliced(1);
  }
  QString label = QStringLiteral("行 ");
  label += digits;
  return label;
}

LineNumber LineNumber::fromDigits(QStringView digits) {
  qsizetype zeros = 0;
  while (zeros + 1 < digits.size() && digits[zeros] == u'0') {
    ++zeros;
  }
  const QStringView significant = digits.sliced(zeros);
  LineNumber number;
  if (significant.size() > kIntegerDigits) {
    number.value_ = static_cast<quint64>(significant.size());
    number.digits_ = new Digits;
    number.digits_->text = significant.toString();
    return number;
  }
  for (const QChar c : significant) {
    number.value_ = number.value_ * 10 + (c.unicode() - u'0');
  }
  return number;
}

std::strong_ordering LineNumber::compareLong(const LineNumber &a, const LineNumber &b) {
  if (a.isLong() != b.isLong()) {
    return a.isLong() <=> b.isLong();
  }
  // Digits of the same count compare as text.
  if (const auto byCount = a.value_ <=> b.value_; byCount != 0) {
    return byCount;
  }
  return QStringView(a.digits_->text).compare(QStringView(b.digits_->text)) <=> 0;
}

QString LineNumber::toString() const { return isLong() ? digits_->text : QString::number(value_); }

} // namespace kavrin::basic
