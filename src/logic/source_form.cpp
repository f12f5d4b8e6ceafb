#include "logic/source_form.h"

#include "logic/keyword_matcher.h"
#include "logic/line_tokens.h"
#include "logic/program_check.h"
#include "logic/renumber.h"

#include <QHash>

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

namespace {

QString labelName(QStringView line, const SourceLine &label) {
  return line.sliced(label.textStart, label.textEnd - label.textStart).toString();
}

// A built line: its written number, if any, and the one it gets.
struct Built {
  std::optional<LineNumber> written;
  int number = 0;
};

class Builder {
public:
  Builder(QStringView source, const KeywordMatcher &keywords, int step)
      : split_(splitLines(source)), lines_(readSource(split_, keywords)), step_(std::max(step, 1)),
        size_(source.size()) {}

  BuiltProgram run() {
    if (group() && checkWritten() && number()) {
      write();
    }
    if (result_.error) {
      result_.text.clear();
    }
    return std::move(result_);
  }

private:
  bool fail(size_t line, const QString &message) {
    result_.error = LineError{static_cast<int>(line), message};
    return false;
  }

  // Gathers the built lines, their source lines and the labels.
  bool group() {
    bool continuing = false;
    std::optional<size_t> label; // the first label still waiting for a line
    for (size_t i = 0; i < lines_.size(); ++i) {
      const SourceLine &line = lines_[i];
      if (line.kind == SourceLineKind::Blank || line.kind == SourceLineKind::Comment) {
        continue;
      }
      if (continuing && line.kind != SourceLineKind::Program) {
        return fail(i, continuationMessage());
      }
      if (line.kind == SourceLineKind::Label) {
        if (!addLabel(i)) {
          return false;
        }
        label = label.value_or(i);
        continue;
      }
      if (!continuing) {
        result_.starts.push_back(result_.sourceLines.size());
        built_.push_back(
            {line.kind == SourceLineKind::Numbered ? std::optional(line.read.number) : std::nullopt});
      }
      result_.sourceLines.push_back(static_cast<int>(i));
      continuing = line.read.continues;
      label.reset();
    }
    return !label || fail(*label, QStringLiteral("ラベル *%1 の後に行がありません")
                                      .arg(labelName(split_.lines[*label], lines_[*label])));
  }

  bool addLabel(size_t i) {
    const QString name = labelName(split_.lines[i], lines_[i]);
    if (labels_.contains(labelKey(name, key_))) {
      return fail(i, duplicateLabelMessage(name));
    }
    labels_.insert(key_, built_.size());
    return true;
  }

  // The written numbers rise and the machine takes them.
  bool checkWritten() {
    const LineNumber *previous = nullptr;
    for (size_t k = 0; k < built_.size(); ++k) {
      if (!built_[k].written) {
        continue;
      }
      const LineNumber &number = *built_[k].written;
      if (previous != nullptr && number <= *previous) {
        return fail(firstSource(k), orderMessage(number, *previous));
      }
      if (number.exceeds(kLargestLineNumber)) {
        return fail(firstSource(k), numberTooLargeMessage(number));
      }
      previous = &number;
      built_[k].number = static_cast<int>(number.value());
    }
    return true;
  }

  // Gives each line without a number one between the numbers around it.
  bool number() {
    std::vector<size_t> nextWritten(built_.size() + 1, built_.size());
    for (size_t k = built_.size(); k-- > 0;) {
      nextWritten[k] = built_[k].written ? k : nextWritten[k + 1];
    }
    // Before the first line: the first takes the step, or any number from 0.
    qint64 previous = -1;
    for (size_t k = 0; k < built_.size(); ++k) {
      if (!built_[k].written) {
        const size_t next = nextWritten[k];
        const qint64 limit = next < built_.size() ? built_[next].number : qint64{kLargestLineNumber} + 1;
        const qint64 stepped = std::max<qint64>(previous, 0) + step_;
        if (previous + 1 >= limit) {
          return fail(firstSource(k),
                      next < built_.size() ? noRoomMessage(firstSource(next)) : tooLargeMessage());
        }
        built_[k].number = static_cast<int>(stepped < limit ? stepped : previous + 1);
      }
      previous = built_[k].number;
    }
    return true;
  }

  QString noRoomMessage(size_t line) const {
    return lineLabel(split_.lines[line], static_cast<int>(line)) +
           QStringLiteral(" の前に番号を振れる余地がありません");
  }

  size_t firstSource(size_t k) const { return static_cast<size_t>(result_.sourceLines[result_.starts[k]]); }

  void write();
  bool appendPart(size_t line, bool continuation);

  TextLines split_;
  std::vector<SourceLine> lines_;
  int step_ = 10;
  qsizetype size_ = 0;
  std::vector<Built> built_;
  // Label names in upper case, and the built line each names.
  QHash<QString, size_t> labels_;
  QString key_;
  BuiltProgram result_;
};

void Builder::write() {
  QString &out = result_.text;
  // The source less what the build leaves out, plus the numbers.
  out.reserve(size_ + qsizetype(built_.size()) * 6);
  for (size_t k = 0; k < built_.size(); ++k) {
    if (k > 0) {
      out.append(u'\n');
    }
    const qsizetype start = out.size();
    out.append(QString::number(built_[k].number));
    out.append(u' ');
    const std::span<const int> parts = result_.sourceLinesOf(k);
    for (size_t p = 0; p < parts.size(); ++p) {
      if (!appendPart(static_cast<size_t>(parts[p]), p > 0)) {
        return;
      }
    }
    if (const qsizetype bytes = overlongBytes(QStringView(out).sliced(start)); bytes > 0) {
      fail(firstSource(k), tooLongMessage(bytes));
      return;
    }
  }
  if (!built_.empty() && split_.endsWithBreak) {
    out.append(u'\n');
  }
}

// Appends the text of a source line, every label reference as the number
// of the line it names; a continuation follows its ':' with nothing between.
bool Builder::appendPart(size_t line, bool continuation) {
  QString &out = result_.text;
  if (continuation) {
    while (isBlank(out.back())) {
      out.chop(1);
    }
  }
  const QStringView text = split_.lines[line];
  const SourceLine &read = lines_[line];
  qsizetype done = read.textStart;
  for (const LineReference &ref : read.read.references) {
    if (!ref.isLabel()) {
      continue;
    }
    const auto found = labels_.constFind(labelKey(ref.label, key_));
    if (found == labels_.cend()) {
      return fail(line, unknownLabelMessage(ref.label));
    }
    out.append(text.sliced(done, ref.start - done));
    out.append(QString::number(built_[*found].number));
    done = ref.start + ref.length;
  }
  out.append(text.sliced(done, read.textEnd - done));
  return true;
}

} // namespace

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

std::span<const int> BuiltProgram::sourceLinesOf(size_t builtLine) const {
  const size_t end = builtLine + 1 < starts.size() ? starts[builtLine + 1] : sourceLines.size();
  return std::span<const int>(sourceLines).subspan(starts[builtLine], end - starts[builtLine]);
}

BuiltProgram buildProgram(QStringView source, const KeywordMatcher &keywords, int step) {
  return Builder(source, keywords, step).run();
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
