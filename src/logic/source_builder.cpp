#include "logic/source_form.h"

#include "logic/program_check.h"
#include "logic/renumber.h"
#include "platform/cp932.h"

#include <QHash>

#include <algorithm>

namespace kavrin::basic {
namespace {

QString labelName(QStringView line, const SourceLine &label) {
  return line.sliced(label.textStart, label.textEnd - label.textStart).toString();
}

QString notLabelMessage(QStringView code) {
  return QStringLiteral("「%1」はラベルとして読めません。ラベルの行は *名前 だけで、"
                        "名前は英字か _ で始まる 40 文字までです")
      .arg(code);
}

QString unwrittenLineMessage(const LineNumber &target) {
  return QStringLiteral("行 %1 への参照がありますが、その番号を書いた行はありません").arg(target.toString());
}

// A built line: its written number, if any, and the one it gets.
struct Built {
  std::optional<LineNumber> written;
  int number = 0;
};

class Builder {
public:
  Builder(QStringView source, const KeywordMatcher &keywords, int step, bool everyRefusal)
      : split_(splitLines(source)), lines_(readSource(split_, keywords)), step_(std::max(step, 1)),
        size_(source.size()), everyRefusal_(everyRefusal) {}

  BuiltProgram run() {
    if (group() && checkWritten() && number()) {
      write();
    }
    if (result_.refused()) {
      result_.text.clear();
    }
    return std::move(result_);
  }

private:
  // Whether to go on: only when every refusal is asked for.
  bool fail(size_t line, const QString &message) {
    result_.refusals.push_back({static_cast<int>(line), message});
    return everyRefusal_;
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
        if (!fail(i, continuationMessage())) {
          return false;
        }
        continuing = false;
      }
      if (line.kind == SourceLineKind::Label) {
        if (!addLabel(i)) {
          return false;
        }
        label = label.value_or(i);
        continue;
      }
      // No statement starts with *: a label mistyped.
      if (line.kind == SourceLineKind::Program && split_.lines[i].sliced(line.textStart).startsWith(u'*') &&
          !fail(i, notLabelMessage(labelName(split_.lines[i], line)))) {
        return false;
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

  // The written numbers rise and the machine takes them.  Going on past a
  // refusal, one out of order is kept, as the check of a numbered program
  // reads the next against it, and one too large is numbered by the build.
  bool checkWritten() {
    std::optional<LineNumber> previous;
    for (size_t k = 0; k < built_.size(); ++k) {
      if (!built_[k].written) {
        continue;
      }
      const LineNumber number = *built_[k].written;
      if (number.exceeds(kLargestLineNumber)) {
        built_[k].written.reset();
      } else {
        written_[number.value()] = true;
        built_[k].number = static_cast<int>(number.value());
      }
      if ((previous && number <= *previous && !fail(firstSource(k), orderMessage(number, *previous))) ||
          (!built_[k].written && !fail(firstSource(k), numberTooLargeMessage(number)))) {
        return false;
      }
      previous = number;
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
        // A limit below the previous number is a written number out of
        // order, refused already.
        if (previous + 1 == limit &&
            !fail(firstSource(k),
                  next < built_.size() ? noRoomMessage(firstSource(next)) : tooLargeMessage())) {
          return false;
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

  bool isWritten(const LineNumber &number) const {
    return !number.exceeds(kLargestLineNumber) && written_[number.value()];
  }

  void write();
  bool appendPart(size_t line, bool continuation, qsizetype lineStart);

  TextLines split_;
  std::vector<SourceLine> lines_;
  int step_ = 10;
  qsizetype size_ = 0;
  bool everyRefusal_ = false;
  std::vector<Built> built_;
  // The numbers written in the source.
  std::vector<bool> written_ = std::vector<bool>(kLargestLineNumber + 1);
  // Label names in upper case, and the built line each names.
  QHash<QString, size_t> labels_;
  QString key_;
  BuiltProgram result_;
};

void Builder::write() {
  QString &out = result_.text;
  // The source less what the build leaves out, plus the numbers.
  out.reserve(size_ + qsizetype(built_.size()) * 6);
  result_.partStarts.reserve(result_.sourceLines.size());
  for (size_t k = 0; k < built_.size(); ++k) {
    if (k > 0) {
      out.append(u'\n');
    }
    const qsizetype start = out.size();
    out.append(QString::number(built_[k].number));
    out.append(u' ');
    const std::span<const int> parts = result_.sourceLinesOf(k);
    for (size_t p = 0; p < parts.size(); ++p) {
      if (!appendPart(static_cast<size_t>(parts[p]), p > 0, start)) {
        return;
      }
    }
    if (const qsizetype bytes = overlongBytes(QStringView(out).sliced(start));
        bytes > 0 && !fail(firstSource(k), tooLongMessage(bytes))) {
      return;
    }
  }
  if (!built_.empty() && split_.endsWithBreak) {
    out.append(u'\n');
  }
}

// Appends the text of a source line, every label reference as the number
// of the line it names; a continuation follows its ':' with nothing between.
bool Builder::appendPart(size_t line, bool continuation, qsizetype lineStart) {
  QString &out = result_.text;
  if (continuation) {
    while (isBlank(out.back())) {
      out.chop(1);
    }
  }
  result_.partStarts.push_back(out.size() - lineStart);
  const QStringView text = split_.lines[line];
  const SourceLine &read = lines_[line];
  qsizetype done = read.textStart;
  for (const LineReference &ref : read.read.references) {
    if (!ref.isLabel()) {
      // A range's far end or a bound need not name a line.
      if (!ref.endsRange() && !isWritten(ref.target) && !fail(line, unwrittenLineMessage(ref.target))) {
        return false;
      }
      continue;
    }
    const auto found = labels_.constFind(labelKey(ref.label, key_));
    if (found == labels_.cend()) {
      if (!fail(line, unknownLabelMessage(ref.label))) {
        return false;
      }
      continue; // going on, it stays as written
    }
    if (*found >= built_.size()) {
      continue; // a label with no line after it, refused as such
    }
    out.append(text.sliced(done, ref.start - done));
    out.append(QString::number(built_[*found].number));
    done = ref.start + ref.length;
  }
  out.append(text.sliced(done, read.textEnd - done));
  return true;
}

} // namespace

std::span<const int> BuiltProgram::sourceLinesOf(size_t builtLine) const {
  const size_t end = builtLine + 1 < starts.size() ? starts[builtLine + 1] : sourceLines.size();
  return std::span<const int>(sourceLines).subspan(starts[builtLine], end - starts[builtLine]);
}

int BuiltProgram::sourceLineAt(size_t builtLine, qsizetype column) const {
  const size_t end = builtLine + 1 < starts.size() ? starts[builtLine + 1] : sourceLines.size();
  size_t part = starts[builtLine];
  while (part + 1 < end && partStarts[part + 1] <= column) {
    ++part;
  }
  return sourceLines[part];
}

BuiltProgram buildProgram(QStringView source, const KeywordMatcher &keywords, int step, bool everyRefusal) {
  return Builder(source, keywords, step, everyRefusal).run();
}

EncodedProgram encodeProgram(const BuiltProgram &built) {
  cp932::Encoded encoded = cp932::encode(built.text);
  const qsizetype at = encoded.firstInexact();
  if (at < 0) {
    return {std::move(encoded.bytes), std::nullopt};
  }
  const QStringView before = QStringView(built.text).first(at);
  const int line =
      built.sourceLineAt(static_cast<size_t>(before.count(u'\n')), at - (before.lastIndexOf(u'\n') + 1));
  return {{},
          LineError{line, at == encoded.firstMisread
                              ? QStringLiteral(
                                    "保存すると、次に開いたときに別の文字に変わってしまうバイトがあります")
                              : cp932::namedCharacter(cp932::characterAt(built.text, at)) +
                                    QStringLiteral(" は Shift-JIS で保存できません")}};
}

} // namespace kavrin::basic
