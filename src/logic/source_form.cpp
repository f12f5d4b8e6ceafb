#include "logic/source_form.h"

#include "logic/keyword_matcher.h"
#include "logic/line_tokens.h"

#include <algorithm>

namespace kavrin::basic {
namespace {

qsizetype skipBlanks(QStringView line, qsizetype from) {
  while (from < line.size() && isBlank(line[from])) {
    ++from;
  }
  return from;
}

// The code from `from` to `end` is *NAME alone, blanks after it aside.
bool isLabelLine(QStringView line, qsizetype from, qsizetype end) {
  const qsizetype name = labelNameLength(line, from + 1);
  return line[from] == u'*' && name > 0 && name <= kLongestLabel && skipBlanks(line, from + 1 + name) >= end;
}

SourceLine readSourceLine(QStringView line, const KeywordMatcher &keywords) {
  SourceLine out;
  qsizetype first = skipBlanks(line, 0);
  if (first == line.size()) {
    return out;
  }
  if (line[first] == u'\'') {
    out.kind = SourceLineKind::Comment;
    return out;
  }
  out.read = readLine(line, keywords, LineForm::Source);
  const qsizetype end = out.read.codeEnd;
  if (out.read.isProgram) {
    out.kind = SourceLineKind::Numbered;
    first = skipBlanks(line, out.read.numberStart + out.read.numberLength);
  } else if (isLabelLine(line, first, end)) {
    out.kind = SourceLineKind::Label;
    out.textStart = first + 1;
    out.textEnd = first + 1 + labelNameLength(line, first + 1);
    return out;
  } else {
    out.kind = SourceLineKind::Program;
  }
  out.textStart = std::min(first, end);
  out.textEnd = end;
  return out;
}

} // namespace

const QString &labelKey(QStringView name, QString &key) {
  key.resize(name.size());
  for (qsizetype i = 0; i < name.size(); ++i) {
    key[i] = QChar(upperAscii(name[i]));
  }
  return key;
}

QString labelKey(QStringView name) {
  QString key;
  return labelKey(name, key);
}

QStringView labelDefinedBy(QStringView line) {
  const qsizetype first = skipBlanks(line, 0);
  if (first == line.size() || line[first] != u'*') {
    return {};
  }
  // Past the name only blanks, or a source comment after them.
  const qsizetype after = first + 1 + labelNameLength(line, first + 1);
  const qsizetype rest = skipBlanks(line, after);
  const bool comment =
      rest < line.size() && line[rest] == u'\'' && line.sliced(after, rest - after).contains(u'\t');
  return isLabelLine(line, first, comment ? rest : line.size()) ? line.sliced(first + 1, after - first - 1)
                                                                : QStringView();
}

int labelLine(QStringView text, QStringView name) {
  const TextLines split = splitLines(text);
  for (size_t i = 0; i < split.lines.size(); ++i) {
    if (labelDefinedBy(split.lines[i]).compare(name, Qt::CaseInsensitive) == 0) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::vector<Span> sourceColourSpans(QStringView line, const KeywordMatcher &keywords) {
  const qsizetype first = skipBlanks(line, 0);
  if (first < line.size() && line[first] == u'\'') {
    return {{first, line.size() - first, SpanKind::SourceComment}};
  }
  if (const QStringView label = labelDefinedBy(line); !label.isEmpty()) {
    const qsizetype comment = line.indexOf(u'\'', first);
    std::vector<Span> spans{{first, 1 + label.size(), SpanKind::Label}};
    if (comment > 0) {
      spans.push_back({comment, line.size() - comment, SpanKind::SourceComment});
    }
    return spans;
  }
  return colourSpans(line, keywords, LineForm::Source);
}

std::vector<SourceLine> readSource(const TextLines &split, const KeywordMatcher &keywords) {
  std::vector<SourceLine> lines;
  lines.reserve(split.lines.size());
  for (const QStringView line : split.lines) {
    lines.push_back(readSourceLine(line, keywords));
  }
  return lines;
}

QString unknownLabelMessage(QStringView name) {
  return QStringLiteral("ラベル *%1 への参照がありますが、そのラベルはありません").arg(name);
}

QString duplicateLabelMessage(QStringView name) {
  return QStringLiteral("ラベル *%1 が重複しています").arg(name);
}

bool isSourceFileName(QStringView fileName) {
  return fileName.endsWith(kSourceExtension, Qt::CaseInsensitive);
}

QString continuationMessage() {
  return QStringLiteral("「:」で終わる行の続きに、番号付きの行やラベルは置けません");
}

} // namespace kavrin::basic
