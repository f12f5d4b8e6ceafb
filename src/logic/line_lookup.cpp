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
