#include "logic/line_tokens.h"
#include "logic/source_form.h"

#include <utility>

namespace kavrin::basic {

QStringView labelAt(QStringView line, qsizetype column, const KeywordMatcher &keywords) {
  if (const QStringView defined = labelDefinedBy(line); !defined.isEmpty()) {
    const qsizetype start = defined.data() - line.data() - 1;
    return column >= start && column <= start + 1 + defined.size() ? defined : QStringView();
  }
  for (const LineReference &ref : readLine(line, keywords, LineForm::Source).references) {
    if (ref.isLabel() && column >= ref.start && column <= ref.start + ref.length) {
      return ref.label;
    }
  }
  return {};
}

QStringList labelNames(QStringView text) {
  QStringList names;
  for (const QStringView line : splitLines(text).lines) {
    if (const QStringView name = labelDefinedBy(line); !name.isEmpty()) {
      names << labelKey(name);
    }
  }
  names.sort();
  names.removeDuplicates();
  return names;
}

RenamedLabel renameLabel(QStringView text, QStringView from, QStringView to, const KeywordMatcher &keywords) {
  if (to.isEmpty() || labelNameLength(to, 0) != to.size() || to.size() > kLongestLabel) {
    return {{}, QStringLiteral("「%1」はラベルの名前にできません").arg(to)};
  }
  const bool sameName = to.compare(from, Qt::CaseInsensitive) == 0;
  if (!sameName && labelLine(text, to) >= 0) {
    return {{}, QStringLiteral("ラベル *%1 はもうあります").arg(to)};
  }
  // A name only used would merge those uses into this label.
  bool taken = false;
  RenamedLabel out;
  const TextLines split = splitLines(text);
  for (size_t i = 0; i < split.lines.size(); ++i) {
    const QStringView line = split.lines[i];
    // Where the name stands in the line: its definition, or each use.
    std::vector<std::pair<qsizetype, qsizetype>> names;
    if (const QStringView defined = labelDefinedBy(line); !defined.isEmpty()) {
      if (defined.compare(from, Qt::CaseInsensitive) == 0) {
        names.emplace_back(defined.data() - line.data(), defined.size());
      }
    } else {
      for (const LineReference &ref : readLine(line, keywords, LineForm::Source).references) {
        taken = taken || (ref.isLabel() && !sameName && ref.label.compare(to, Qt::CaseInsensitive) == 0);
        if (ref.isLabel() && ref.label.compare(from, Qt::CaseInsensitive) == 0) {
          names.emplace_back(ref.start + 1, ref.length - 1);
        }
      }
    }
    qsizetype done = 0;
    for (const auto &[start, length] : names) {
      out.text.append(line.sliced(done, start - done));
      out.text.append(to);
      done = start + length;
    }
    out.text.append(line.sliced(done));
    if (i + 1 < split.lines.size() || split.endsWithBreak) {
      out.text += u'\n';
    }
  }
  if (taken) {
    return {{}, QStringLiteral("ラベル *%1 はもう使われています").arg(to)};
  }
  return out;
}

} // namespace kavrin::basic
