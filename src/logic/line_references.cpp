#include "logic/line_references.h"

namespace kavrin::basic {

std::optional<LineReference> referenceAt(QStringView line, qsizetype column, const KeywordMatcher &keywords,
                                         LineForm form) {
  for (const LineReference &reference : readLine(line, keywords, form).references) {
    if (column >= reference.start && column <= reference.start + reference.length) {
      return reference;
    }
  }
  return std::nullopt;
}

std::vector<int> linesReferringTo(QStringView text, const LineNumber &number, const KeywordMatcher &keywords,
                                  LineForm form, QStringView label) {
  // Every reference to the number holds its digits (to the label, its
  // name): the lines without them need no reading, and they are nearly all.
  const QString digits = label.isEmpty() ? number.toString() : label.toString();
  std::vector<int> lines;
  int index = 0;
  qsizetype start = 0;
  while (start < text.size()) {
    qsizetype end = text.indexOf(u'\n', start);
    if (end < 0) {
      end = text.size();
    }
    const QStringView line = text.mid(start, end - start);
    if (line.contains(digits, label.isEmpty() ? Qt::CaseSensitive : Qt::CaseInsensitive)) {
      const ProgramLine read = readLine(line, keywords, form);
      for (const LineReference &reference : read.references) {
        if (label.isEmpty() ? !reference.isLabel() && reference.target == number
                            : reference.label.compare(label, Qt::CaseInsensitive) == 0) {
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
