#include "logic/line_lookup.h"

namespace kavrin::basic {

LineLookup findProgramLine(QStringView text, const LineNumber &number) {
  return ProgramLineIndex(text).find(number);
}

ProgramLineIndex::ProgramLineIndex(QStringView text) {
  const TextLines split = splitLines(text);
  for (size_t i = 0; i < split.lines.size(); ++i) {
    ProgramLine line = readLineNumber(split.lines[i]);
    if (line.isProgram) {
      lines_.emplace(std::move(line.number), static_cast<int>(i));
    }
  }
}

LineLookup ProgramLineIndex::find(const LineNumber &number) const {
  const auto found = lines_.lower_bound(number);
  if (found == lines_.end()) {
    return {};
  }
  return {found->second, found->first == number};
}

QString typedDigits(const QString &input) {
  // trimmed() also drops the wide blank that a Japanese input method types.
  QString digits = input.trimmed();
  for (QChar &c : digits) {
    if (c >= u'０' && c <= u'９') {
      c = QChar(u'0' + (c.unicode() - u'０'));
    }
  }
  return digits;
}

bool parseLineNumber(const QString &input, LineNumber &number) {
  const QString digits = typedDigits(input);
  qsizetype length = 0;
  LineNumber value = readNumber(digits, 0, length);
  if (length == 0 || length != digits.size()) {
    return false;
  }
  number = std::move(value);
  return true;
}

std::optional<int> parseWholeNumber(const QString &input) {
  bool ok = false;
  const int value = typedDigits(input).toInt(&ok, 10);
  return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace kavrin::basic
