#include "basic/program_check.h"

#include "basic/basic_reader.h"
#include "platform/cp932.h"

#include <QSet>

namespace kavrin::basic {
namespace {

// The machine holds at most this many bytes of one line.
constexpr qsizetype kLongestLineBytes = 255;
// No character takes more than two bytes, so shorter lines need no encoding.
constexpr qsizetype kShortestLongLine = kLongestLineBytes / 2 + 1;

// Digits as the message shows them: a saturated value would name a number
// nobody wrote.
QString shown(QStringView digits) {
  qsizetype zeros = 0;
  while (zeros + 1 < digits.size() && digits[zeros] == u'0') {
    ++zeros;
  }
  return digits.mid(zeros).toString();
}

bool isEmptyLine(QStringView line) {
  for (const QChar c : line) {
    if (c != u' ' && c != u'\t') {
      return false;
    }
  }
  return true;
}

class NumberSet {
public:
  explicit NumberSet(const TextLines &split) : small_(kLargestLineNumber + 1, false) {
    for (const QStringView line : split.lines) {
      const ProgramLine read = readLineNumber(line);
      if (!read.isProgram) {
        continue;
      }
      if (read.number <= kLargestLineNumber) {
        small_[read.number] = true;
      } else {
        large_.insert(read.number);
      }
    }
  }

  bool contains(int number) const {
    return number <= kLargestLineNumber ? small_[number] : large_.contains(number);
  }

private:
  std::vector<bool> small_;
  QSet<int> large_;
};

class Checker {
public:
  explicit Checker(const TextLines &split) : split_(split), numbers_(split) {}

  std::vector<Finding> run() {
    for (size_t i = 0; i < split_.lines.size(); ++i) {
      index_ = static_cast<int>(i);
      checkLine(split_.lines[i]);
    }
    return std::move(findings_);
  }

private:
  void add(const QString &message) { findings_.push_back({index_, message}); }

  void checkLine(QStringView text) {
    const ProgramLine line = readLine(text);
    if (line.isProgram) {
      checkNumber(line, text.mid(line.numberStart, line.numberLength));
      for (const LineReference &ref : line.references) {
        if (!numbers_.contains(ref.target)) {
          add(QStringLiteral("行 %1 への参照がありますが、その行はありません")
                  .arg(shown(text.mid(ref.start, ref.length))));
        }
      }
    } else if (!isEmptyLine(text)) {
      add(QStringLiteral("行番号がありません"));
    }
    if (text.size() >= kShortestLongLine) {
      const qsizetype bytes = cp932::encode(text).bytes.size();
      if (bytes > kLongestLineBytes) {
        add(QStringLiteral("1 行が %1 バイトを超えています (%2 バイト)").arg(kLongestLineBytes).arg(bytes));
      }
    }
  }

  void checkNumber(const ProgramLine &line, QStringView digits) {
    if (previous_ >= 0 && line.number < previous_) {
      add(QStringLiteral("行番号 %1 が前の行番号 %2 より小さくなっています")
              .arg(shown(digits), shown(previousDigits_)));
    } else if (previous_ >= 0 && line.number == previous_) {
      add(QStringLiteral("行番号 %1 が重複しています").arg(shown(digits)));
    }
    if (line.number > kLargestLineNumber) {
      add(QStringLiteral("行番号 %1 が %2 を超えています").arg(shown(digits)).arg(kLargestLineNumber));
    }
    previous_ = line.number;
    previousDigits_ = digits;
  }

  const TextLines &split_;
  NumberSet numbers_;
  std::vector<Finding> findings_;
  int index_ = 0;
  int previous_ = -1;
  QStringView previousDigits_;
};

} // namespace

std::vector<Finding> checkProgram(QStringView text) {
  const TextLines split = splitLines(text);
  return Checker(split).run();
}

} // namespace kavrin::basic
