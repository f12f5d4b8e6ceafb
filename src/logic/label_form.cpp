#include "logic/line_tokens.h"
#include "logic/program_check.h"
#include "logic/source_form.h"

#include <algorithm>

namespace kavrin::basic {
namespace {

// Where the text after a line's number and the blanks after it starts.
qsizetype textStart(QStringView line, const ProgramLine &read) {
  qsizetype start = read.numberStart + read.numberLength;
  while (start < line.size() && isBlank(line[start])) {
    ++start;
  }
  return start;
}

// Text that would read as a blank line, a comment, a numbered line, or a
// label or a mistyped one, without its number before it.
bool needsNumber(QStringView text) {
  return text.isEmpty() || text[0] == u'\'' || isDigit(text[0]) || text[0] == u'*';
}

// A reference that letters or digits follow (THEN30ELSE10): a label there
// would take them into its name, so it stays a number.
bool isCompact(QStringView line, const LineReference &ref) {
  return labelNameLength(line, ref.start + ref.length) > 0;
}

class Converter {
public:
  Converter(QStringView text, const KeywordMatcher &keywords, int step)
      : split_(splitLines(text)), step_(std::max(step, 1)) {
    reads_.reserve(split_.lines.size());
    for (const QStringView line : split_.lines) {
      reads_.push_back(readLine(line, keywords, LineForm::Source));
    }
  }

  LabelForm run() {
    readNumbers();
    findTargets();
    std::ranges::stable_sort(result_.refusals, {}, &LineError::line);
    if (result_.refusals.empty()) {
      write();
    }
    return std::move(result_);
  }

private:
  void refuse(size_t line, const QString &message) {
    result_.refusals.push_back({static_cast<int>(line), message});
  }

  // The program lines' numbers, which must rise; every other line blank.
  void readNumbers() {
    for (size_t i = 0; i < reads_.size(); ++i) {
      const ProgramLine &read = reads_[i];
      if (!read.isProgram) {
        if (!isBlankText(split_.lines[i])) {
          refuse(i, noNumberMessage());
        }
        continue;
      }
      if (!numbers_.empty() && read.number <= numbers_.back()) {
        refuse(i, orderMessage(read.number, numbers_.back()));
      }
      if (read.codeEnd < split_.lines[i].size()) {
        refuse(i, QStringLiteral("タブの後の「'」はソース形式では注釈になり、プログラムから外れます"));
      }
      numbers_.push_back(read.number);
      last_ = i;
    }
    named_.assign(numbers_.size(), false);
    written_.assign(numbers_.size(), false);
  }

  // Marks the lines that references name; refuses those that name none.
  void findTargets() {
    // The program lines by number.
    std::vector<size_t> byNumber(numbers_.size());
    for (size_t k = 0; k < byNumber.size(); ++k) {
      byNumber[k] = k;
    }
    std::ranges::stable_sort(byNumber, {}, [this](size_t k) -> const LineNumber & { return numbers_[k]; });
    for (size_t i = 0; i < reads_.size(); ++i) {
      for (const LineReference &ref : reads_[i].references) {
        if (ref.isLabel()) {
          refuse(i, unknownLabelMessage(ref.label));
          continue;
        }
        const auto found = std::ranges::lower_bound(
            byNumber, ref.target, {}, [this](size_t k) -> const LineNumber & { return numbers_[k]; });
        if (found == byNumber.end() || numbers_[*found] != ref.target) {
          refuse(i, missingLineMessage(ref.target));
          continue;
        }
        targets_.push_back(*found);
        if (isCompact(split_.lines[i], ref)) {
          written_[*found] = true;
        } else {
          markNamed(i, *found);
        }
      }
      if (reads_[i].isProgram && reads_[i].continues && i < last_) {
        refuse(i, continuationMessage());
      }
    }
  }

  void markNamed(size_t line, size_t k) {
    if (!named_[k] && numbers_[k].toString().size() + 1 > kLongestLabel) {
      refuse(line, QStringLiteral("行番号 %1 はラベルの名前には長すぎます").arg(numbers_[k].toString()));
    }
    named_[k] = true;
  }

  QString builtNumber(size_t k) const { return QString::number(qint64{step_} * qint64(k + 1)); }

  void write();
  void appendLine(size_t i, size_t k);

  TextLines split_;
  int step_ = 10;
  std::vector<ProgramLine> reads_;
  // Of the program lines, in order; whether a label reference names each,
  // and whether a number does, so that it keeps the one the build gives it.
  std::vector<LineNumber> numbers_;
  std::vector<bool> named_;
  std::vector<bool> written_;
  // The program line each reference names, in text order.
  std::vector<size_t> targets_;
  size_t last_ = 0; // the last program line
  size_t nextTarget_ = 0;
  LabelForm result_;
};

void Converter::write() {
  QString &out = result_.text;
  size_t k = 0;
  for (size_t i = 0; i < split_.lines.size(); ++i) {
    if (i > 0) {
      out.append(u'\n');
    }
    const bool labelled = reads_[i].isProgram && named_[k];
    result_.newLineOf.push_back(result_.lineCount + (labelled ? 1 : 0));
    result_.lineCount += labelled ? 2 : 1;
    if (reads_[i].isProgram) {
      appendLine(i, k++);
    } else {
      out.append(split_.lines[i]);
    }
  }
  if (split_.endsWithBreak) {
    out.append(u'\n');
  }
}

void Converter::appendLine(size_t i, size_t k) {
  QString &out = result_.text;
  const QStringView line = split_.lines[i];
  const ProgramLine &read = reads_[i];
  if (named_[k]) {
    out.append(QStringLiteral("*L") + numbers_[k].toString() + u'\n');
  }
  qsizetype done = textStart(line, read);
  if (written_[k] || needsNumber(line.sliced(done))) {
    out.append(builtNumber(k) + u' ');
  }
  for (const LineReference &ref : read.references) {
    out.append(line.sliced(done, ref.start - done));
    const size_t target = targets_[nextTarget_++];
    out.append(isCompact(line, ref) ? builtNumber(target) : QStringLiteral("*L") + ref.target.toString());
    done = ref.start + ref.length;
  }
  out.append(line.sliced(done));
}

} // namespace

LabelForm toLabelForm(QStringView numbered, const KeywordMatcher &keywords, int step) {
  return Converter(numbered, keywords, step).run();
}

} // namespace kavrin::basic
