#include "logic/line_lookup.h"

namespace kavrin::basic {

LineLookup findProgramLine(QStringView text, const LineNumber &number) {
  LineLookup found;
  LineNumber above;
  const TextLines split = splitLines(text);
  for (size_t i = 0; i < split.lines.size(); ++i) {
    const ProgramLine line = readLineNumber(split.lines[i]);
    if (!line.isProgram || line.number < number) {
      continue;
    }
    if (line.number == number) {
      return {static_cast<int>(i), true};
    }
    if (found.line < 0 || line.number < above) {
      found.line = static_cast<int>(i);
      above = line.number;
    }
  }
  return found;
}

bool parseLineNumber(const QString &input, LineNumber &number) {
  // trimmed() also drops the wide blank that a Japanese input method types.
  const QString digits = input.trimmed();
  qsizetype length = 0;
  LineNumber value = readNumber(digits, 0, length);
  if (length == 0 || length != digits.size()) {
    return false;
  }
  number = std::move(value);
  return true;
}

} // namespace kavrin::basic
