#include "logic/source_form.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace kavrin::basic {
namespace {

// The labels defined twice, those a reference names that no line defines,
// and those never used, on their lines.
void findLabels(const TextLines &split, const std::vector<SourceLine> &lines, std::vector<Finding> &out) {
  QHash<QString, int> defined; // by the name in upper case
  QSet<QString> used;
  for (size_t i = 0; i < lines.size(); ++i) {
    const SourceLine &line = lines[i];
    if (line.kind == SourceLineKind::Label) {
      const QStringView name = split.lines[i].sliced(line.textStart, line.textEnd - line.textStart);
      if (defined.contains(labelKey(name))) {
        out.push_back({static_cast<int>(i), duplicateLabelMessage(name)});
      } else {
        defined.insert(labelKey(name), static_cast<int>(i));
      }
    }
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    for (const LineReference &ref : lines[i].read.references) {
      if (!ref.isLabel()) {
        continue;
      }
      used.insert(labelKey(ref.label));
      if (!defined.contains(labelKey(ref.label))) {
        out.push_back({static_cast<int>(i), unknownLabelMessage(ref.label)});
      }
    }
  }
  for (auto it = defined.cbegin(); it != defined.cend(); ++it) {
    if (!used.contains(it.key())) {
      const SourceLine &line = lines[static_cast<size_t>(it.value())];
      const QStringView name = split.lines[it.value()].sliced(line.textStart, line.textEnd - line.textStart);
      out.push_back({it.value(), QStringLiteral("ラベル *%1 はどこからも使われていません").arg(name),
                     CheckRule::Basic, false});
    }
  }
}

} // namespace

std::vector<Finding> checkSource(QStringView source, const KeywordMatcher &keywords,
                                 const CheckOptions &options, int step) {
  const TextLines split = splitLines(source);
  std::vector<Finding> out;
  findLabels(split, readSource(split, keywords), out);
  const BuiltProgram built = buildProgram(source, keywords, step);
  if (built.error) {
    // A label's refusal is among the label findings already.
    const LineError &error = *built.error;
    if (std::ranges::none_of(
            out, [&error](const Finding &f) { return f.line == error.line && f.message == error.message; })) {
      out.push_back({error.line, error.message});
    }
    out.push_back({-1, QStringLiteral("ビルドできないため、ほかの規則では調べていません")});
  } else {
    for (Finding finding : checkProgram(built.text, keywords, options)) {
      if (finding.line >= 0) {
        finding.line = built.firstSourceLine(static_cast<size_t>(finding.line));
      }
      out.push_back(std::move(finding));
    }
    out.push_back({-1, QStringLiteral("行番号の順序と重複は、ソース形式ではビルドが調べます")});
  }
  std::ranges::stable_sort(out, {}, &Finding::line);
  for (Finding &finding : out) {
    if (finding.line >= 0) {
      finding.where = lineLabel(split.lines[finding.line], finding.line);
    }
  }
  return out;
}

std::vector<Finding> checkDocument(QStringView text, const KeywordMatcher &keywords,
                                   const CheckOptions &options, int sourceStep) {
  return sourceStep > 0 ? checkSource(text, keywords, options, sourceStep)
                        : checkProgram(text, keywords, options);
}

} // namespace kavrin::basic
