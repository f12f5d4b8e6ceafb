#include "logic/line_references.h"

namespace kavrin::basic {

std::optional<LineReference> referenceAt(QStringView line, qsizetype column, const KeywordMatcher &keywords) {
  for (const LineReference &reference : readLine(line, keywords).references) {
    if (column >= reference.start && column <= reference.start + reference.length) {
      return reference;
    }
  }
  return std::nullopt;
}

std::vector<int> linesReferringTo(QStringView text, const LineNumber &number,
                                  const KeywordMatcher &keywords) {
  // Every reference to the number holds its digits: the lines without them
  // need no reading, and they are nearly all.
  const QString digits = number.toString();
  std::vector<int> lines;
  int index = 0;
  qsizetype start = 0;
  while (start < text.size()) {
    qsizetype end = text.indexOf(u'\n', start);
    if (end < 0) {
      end = text.size();
    }
    const QStringView line = text.mid(start, end - start);
    if (line.contains(digits)) {
      const ProgramLine read = readLine(line, keywords);
      for (const LineReference &reference : read.references) {
        if (reference.target == number) {
          lines.push_back(index);
          break;
        }
      }
    }
    start = end + 1;
    ++index;
  }
  return lines;
}

} // namespace kavrin::basic
