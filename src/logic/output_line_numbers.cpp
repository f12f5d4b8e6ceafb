#include "logic/output_line_numbers.h"

#include "logic/basic_reader.h"

#include <algorithm>

namespace kavrin {
namespace {

// A number standing on its own: no letter, digit or decimal point after it.
#define KAVRIN_NUMBER "([0-9]+)(?![0-9A-Za-z_]|\\.[0-9])"
#define KAVRIN_WORD_START "(?<![0-9A-Za-z_])"
// After "in", no word may follow: "in 2 files" and "in 30 ms" are counts.
#define KAVRIN_NO_WORD_AFTER "(?=[ \\t]*(?:$|[:,.)])|[ \\t]+[^\\p{L}\\s])"
// "N行目", "N行:" and "N行でエラー" name a line; "10行を変換しました" and
// "100行まで" count lines.
#define KAVRIN_LINE_SUFFIX "(?![ \\t]*(?:を|数|分|ぶん|ほど|まで|以上|以下|未満|が|も|、|，))"

// Each form is one alternative; the leftmost match counts, and at one place
// the first form.  When in doubt a row names no line: "line 120 of 300" and
// "wrote 120 lines" are progress and summaries ("line 120 of GAME.TXT" is not).
const QString kDefaultForms =
    QStringLiteral(KAVRIN_WORD_START "line[ \\t]*" KAVRIN_NUMBER "(?![ \\t]+of[ \\t]+[0-9])"
                                     "|" KAVRIN_WORD_START "in[ \\t]+" KAVRIN_NUMBER KAVRIN_NO_WORD_AFTER
                                     "|(?<![0-9A-Za-z_.])([0-9]+)[ \\t]*行" KAVRIN_LINE_SUFFIX
                                     "|行[ \\t]*" KAVRIN_NUMBER "|^[ \\t]*([0-9]+):(?![0-9])");

#undef KAVRIN_NUMBER
#undef KAVRIN_WORD_START
#undef KAVRIN_NO_WORD_AFTER
#undef KAVRIN_LINE_SUFFIX

QRegularExpression defaultForms() {
  static const QRegularExpression forms(kDefaultForms, QRegularExpression::CaseInsensitiveOption);
  return forms;
}

QString unusable(const QString &why) {
  return QStringLiteral("kavrin.ini の [Convert] LinePattern は使えません (%1)。既定の形で行番号を探します。")
      .arg(why);
}

} // namespace

OutputLineFinder::OutputLineFinder(const QString &userPattern) : pattern_(defaultForms()) {
  if (userPattern.isEmpty()) {
    return;
  }
  const QRegularExpression user(userPattern);
  if (!user.isValid()) {
    problem_ = unusable(QStringLiteral("正規表現の誤り: %1").arg(user.errorString()));
  } else if (user.captureCount() != 1) {
    problem_ = unusable(QStringLiteral("括弧で囲んだ部分がちょうど 1 つ必要です"));
  } else {
    pattern_ = user;
  }
}

std::optional<basic::LineNumber> OutputLineFinder::lineIn(QStringView text) const {
  const QRegularExpressionMatch match = pattern_.match(text);
  if (!match.hasMatch()) {
    return std::nullopt;
  }
  for (int group = 1; group <= pattern_.captureCount(); ++group) {
    const QStringView digits = match.capturedView(group);
    if (digits.isEmpty()) {
      continue;
    }
    if (!std::all_of(digits.begin(), digits.end(), [](QChar c) { return basic::isDigit(c); })) {
      return std::nullopt;
    }
    const basic::LineNumber number = basic::LineNumber::fromDigits(digits);
    if (number.exceeds(basic::kLargestLineNumber)) {
      return std::nullopt;
    }
    return number;
  }
  return std::nullopt;
}

OutputRow OutputLineFinder::row(QString text) const {
  std::optional<basic::LineNumber> line = lineIn(text);
  return {std::move(text), std::move(line)};
}

} // namespace kavrin
