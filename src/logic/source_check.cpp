#include "logic/source_form.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace kavrin::basic {
namespace {

// The labels never used, on their lines; the build finds the others.
void findUnusedLabels(const TextLines &split, const std::vector<SourceLine> &lines,
                      std::vector<Finding> &out) {
  QHash<QString, int> defined; // by the name in upper case
  QSet<QString> used;
  for (size_t i = 0; i < lines.size(); ++i) {
    const SourceLine &line = lines[i];
    if (line.kind == SourceLineKind::Label) {
      const QStringView name = split.lines[i].sliced(line.textStart, line.textEnd - line.textStart);
      if (!defined.contains(labelKey(name))) {
        defined.insert(labelKey(name), static_cast<int>(i));
      }
    }
    for (const LineReference &ref : line.read.references) {
      if (ref.isLabel()) {
        used.insert(labelKey(ref.label));
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
  findUnusedLabels(split, readSource(split, keywords), out);
  const BuiltProgram built = buildProgram(source, keywords, step, true);
  for (const LineError &refusal : built.refusals) {
    out.push_back({refusal.line, refusal.message});
  }
  if (built.refused()) {
    out.push_back({-1, QStringLiteral("ビルドできないため、ほかの規則では調べていません")});
  } else {
    const SourceLines names{&split, [&built](int line, qsizetype column) {
                              return built.sourceLineAt(static_cast<size_t>(line), column);
                            }};
    for (Finding finding : checkProgram(built.text, keywords, options, &names)) {
      if (finding.line >= 0) {
        // On the source line that holds what it names, where it names a place.
        const auto line = static_cast<size_t>(finding.line);
        finding.line =
            finding.column >= 0 ? built.sourceLineAt(line, finding.column) : built.firstSourceLine(line);
        finding.column = -1;
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
