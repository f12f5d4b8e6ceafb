#include "logic/basic_reader.h"

#include "logic/basic_words.h"
#include "logic/keyword_matcher.h"

#include <algorithm>

namespace kavrin::basic {
namespace {

// What the next number of the statement would be.
// A range is a start, a dash, an end: RangeEnd follows a start, AfterDash
// the dash.  A number that is no line reference, then a comparison, may
// stand before ERL: AfterNumber, then BeforeErl.
enum class Expect {
  Nothing,
  Line,
  LineNotZero,
  LineList,
  Range,
  RangeEnd,
  AfterDash,
  Comparison,
  LineAfterCompare,
  AfterNumber,
  BeforeErl
};

class Scanner {
public:
  Scanner(QStringView line, const KeywordMatcher *colours, std::vector<Span> *spans,
          std::vector<LineReference> *refs)
      : s_(line), colours_(colours), spans_(spans), refs_(refs) {}

  void run(qsizetype from) {
    i_ = from;
    while (i_ < s_.size()) {
      step();
    }
  }

private:
  void span(qsizetype start, qsizetype length, SpanKind kind) {
    if (spans_ != nullptr && length > 0) {
      spans_->push_back({start, length, kind});
    }
  }

  void step() {
    const QChar c = s_[i_];
    if (isBlank(c)) {
      ++i_;
    } else if (c == u'"') {
      string();
    } else if (inData_) {
      data(c);
    } else if (c == u'\'') {
      span(i_, s_.size() - i_, SpanKind::Comment);
      i_ = s_.size();
    } else if (isDigit(c)) {
      number();
    } else {
      symbol(c);
    }
  }

  void string() {
    const qsizetype close = s_.indexOf(u'"', i_ + 1);
    const qsizetype end = close < 0 ? s_.size() : close + 1;
    span(i_, end - i_, SpanKind::String);
    i_ = end;
    expect_ = Expect::Nothing;
  }

  void data(QChar c) {
    if (c == u':') {
      endStatement();
    }
    ++i_;
  }

  void endStatement() {
    expect_ = Expect::Nothing;
    inOn_ = onError_ = inData_ = false;
  }

  void reference(qsizetype start, qsizetype length, LineNumber value, RangeEnd range = RangeEnd::None) {
    if (refs_ != nullptr) {
      refs_->push_back({start, length, std::move(value), range});
    }
  }

  void markRangeStart(RangeEnd range) {
    if (refs_ != nullptr && rangeStart_ >= 0) {
      (*refs_)[static_cast<size_t>(rangeStart_)].range = range;
    }
  }

  void number() {
    if (i_ == nameEnd_) {
      name();
      return;
    }
    LineReference read{i_, 0, {}, RangeEnd::None};
    read.target = readNumber(s_, i_, read.length);
    i_ += read.length;
    switch (expect_) {
    case Expect::Line:
    case Expect::LineAfterCompare:
    case Expect::LineList:
      reference(read.start, read.length, std::move(read.target));
      break;
    case Expect::LineNotZero:
      if (read.target != LineNumber(0)) {
        reference(read.start, read.length, std::move(read.target));
      }
      break;
    case Expect::Range:
    case Expect::RangeEnd:
    case Expect::AfterDash:
      rangeNumber(std::move(read));
      return;
    default:
      plainNumber(std::move(read));
      return;
    }
    if (expect_ != Expect::LineList) {
      expect_ = Expect::Nothing;
    }
  }

  void rangeNumber(LineReference read) {
    const bool afterDash = expect_ == Expect::AfterDash;
    if (afterDash) {
      markRangeStart(RangeEnd::FromTo);
    }
    reference(read.start, read.length, std::move(read.target), afterDash ? RangeEnd::To : RangeEnd::None);
    const bool first = expect_ == Expect::Range;
    rangeStart_ = first && refs_ != nullptr ? static_cast<qsizetype>(refs_->size()) - 1 : -1;
    expect_ = first ? Expect::RangeEnd : Expect::Nothing;
  }

  // Digits after a variable's letters belong to its name (L1, E12, A.5):
  // they are no number, and no ERL can make them a line.
  void name() {
    while (i_ < s_.size() && (isDigit(s_[i_]) || s_[i_] == u'.')) {
      ++i_;
    }
    nameEnd_ = i_;
    expect_ = Expect::Nothing;
  }

  // Kept in case ERL follows, after a comparison.
  void plainNumber(LineReference read) {
    const qsizetype end = i_;
    skipNumberRest();
    pending_ = std::move(read);
    expect_ = i_ == end ? Expect::AfterNumber : Expect::Nothing;
  }

  // A fraction or an exponent belongs to the number, not to a keyword.
  void skipNumberRest() {
    while (i_ < s_.size() && (isDigit(s_[i_]) || s_[i_] == u'.')) {
      ++i_;
    }
    if (i_ + 1 < s_.size() && (upperAscii(s_[i_]) == u'E' || upperAscii(s_[i_]) == u'D')) {
      qsizetype k = i_ + 1;
      if (s_[k] == u'+' || s_[k] == u'-') {
        ++k;
      }
      if (k < s_.size() && isDigit(s_[k])) {
        i_ = k;
        while (i_ < s_.size() && isDigit(s_[i_])) {
          ++i_;
        }
      }
    }
  }

  void hexNumber() {
    const char16_t base = i_ + 1 < s_.size() ? upperAscii(s_[i_ + 1]) : u'\0';
    i_ += 2;
    while (i_ < s_.size() &&
           (isDigit(s_[i_]) || (base == u'H' && upperAscii(s_[i_]) >= u'A' && upperAscii(s_[i_]) <= u'F'))) {
      ++i_;
    }
  }

  void symbol(QChar c) {
    if (c == u'&' && i_ + 1 < s_.size() && QStringView(u"HOB").contains(QChar(upperAscii(s_[i_ + 1])))) {
      hexNumber();
      expect_ = Expect::Nothing;
      return;
    }
    qsizetype wordLength = 0;
    const Word word = wordAt(s_, i_, wordLength);
    const qsizetype shownLength = colours_ != nullptr ? colours_->matchAt(s_, i_) : 0;
    if (word != Word::None && wordLength >= shownLength) {
      keyword(word, wordLength, shownLength > 0);
      return;
    }
    if (shownLength > 0) {
      span(i_, shownLength, SpanKind::Keyword);
      i_ += shownLength;
      expect_ = Expect::Nothing;
      return;
    }
    const bool inName = (upperAscii(c) >= u'A' && upperAscii(c) <= u'Z') || (c == u'.' && i_ == nameEnd_);
    punctuation(c);
    ++i_;
    if (inName) {
      nameEnd_ = i_;
    }
  }

  void punctuation(QChar c) {
    if (c == u':') {
      endStatement();
    } else if (expect_ == Expect::LineList && c == u',') {
      // the next entry of an ON list
    } else if ((expect_ == Expect::Range || expect_ == Expect::RangeEnd || expect_ == Expect::AfterDash) &&
               c == u'-') {
      if (expect_ == Expect::RangeEnd) {
        markRangeStart(RangeEnd::From);
      }
      expect_ = Expect::AfterDash;
    } else if (c == u'=' || c == u'<' || c == u'>') {
      expect_ = comparisonAfter(expect_);
    } else {
      expect_ = Expect::Nothing;
    }
  }

  static Expect comparisonAfter(Expect before) {
    switch (before) {
    case Expect::Comparison:
    case Expect::LineAfterCompare:
      return Expect::LineAfterCompare;
    case Expect::AfterNumber:
    case Expect::BeforeErl:
      return Expect::BeforeErl;
    default:
      return Expect::Nothing;
    }
  }

  void keyword(Word word, qsizetype length, bool shown) {
    if (word == Word::Rem) {
      span(i_, s_.size() - i_, SpanKind::Comment);
      i_ = s_.size();
      return;
    }
    if (shown) {
      span(i_, length, SpanKind::Keyword);
    }
    i_ += length;
    if (word == Word::Erl && expect_ == Expect::BeforeErl) {
      reference(pending_.start, pending_.length, std::move(pending_.target));
    }
    expect_ = expectAfter(word);
  }

  Expect expectAfter(Word word) {
    switch (word) {
    case Word::GoTo:
    case Word::GoSub:
      if (onError_) {
        return Expect::LineNotZero;
      }
      return inOn_ ? Expect::LineList : Expect::Line;
    case Word::Then:
    case Word::Else:
    case Word::Restore:
    case Word::Run:
    case Word::Return:
      return Expect::Line;
    case Word::Resume:
      return Expect::LineNotZero;
    case Word::List:
    case Word::Delete:
      rangeStart_ = -1;
      return Expect::Range;
    case Word::Erl:
      return Expect::Comparison;
    case Word::On:
      inOn_ = true;
      break;
    case Word::Error:
      onError_ = inOn_;
      break;
    case Word::Data:
      inData_ = true;
      break;
    default:
      break;
    }
    return Expect::Nothing;
  }

  QStringView s_;
  const KeywordMatcher *colours_;
  std::vector<Span> *spans_;
  std::vector<LineReference> *refs_;
  qsizetype i_ = 0;
  Expect expect_ = Expect::Nothing;
  // The reference that starts the range being read, or -1.
  qsizetype rangeStart_ = -1;
  // The last number that was no line reference.
  LineReference pending_;
  // Just past the last letter or digit of a variable's name, or -1.
  qsizetype nameEnd_ = -1;
  bool inOn_ = false;
  bool onError_ = false;
  bool inData_ = false;
};

} // namespace

LineNumber readNumber(QStringView text, qsizetype pos, qsizetype &length) {
  quint64 value = 0;
  qsizetype significant = 0;
  qsizetype i = pos;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    // Past the digits the integer holds the value wraps, unused.
    value = value * 10 + (text[i].unicode() - u'0');
    significant += value != 0 || significant > 0 ? 1 : 0;
  }
  length = i - pos;
  return significant > LineNumber::kIntegerDigits ? LineNumber::fromDigits(text.sliced(pos, length))
                                                  : LineNumber(value);
}

ProgramLine readLineNumber(QStringView line) {
  const LeadingNumber at = findLeadingNumber(line, true);
  if (at.length == 0) {
    return {};
  }
  qsizetype length = 0;
  LineNumber number = readNumber(line, at.start, length);
  return {true, at.start, length, std::move(number), {}};
}

ProgramLine readLine(QStringView line) {
  ProgramLine result = readLineNumber(line);
  if (result.isProgram) {
    Scanner(line, nullptr, nullptr, &result.references).run(result.numberStart + result.numberLength);
  }
  return result;
}

std::vector<Span> colourSpans(QStringView line, const KeywordMatcher &keywords) {
  std::vector<Span> spans;
  const ProgramLine numbered = readLineNumber(line);
  if (numbered.isProgram) {
    spans.push_back({numbered.numberStart, numbered.numberLength, SpanKind::LineNumber});
    Scanner(line, &keywords, &spans, nullptr).run(numbered.numberStart + numbered.numberLength);
  }
  return spans;
}

TextLines splitLines(QStringView text) {
  TextLines result;
  qsizetype start = 0;
  while (start < text.size()) {
    qsizetype end = text.indexOf(u'\n', start);
    if (end < 0) {
      end = text.size();
    }
    result.lines.push_back(text.mid(start, end - start));
    start = end + 1;
  }
  result.endsWithBreak = !text.isEmpty() && text.back() == u'\n';
  return result;
}

} // namespace kavrin::basic
