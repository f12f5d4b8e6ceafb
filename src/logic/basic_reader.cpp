#include "logic/basic_reader.h"

#include "logic/basic_words.h"
#include "logic/keyword_matcher.h"
#include "logic/line_tokens.h"

#include <algorithm>
#include <optional>

namespace kavrin::basic {
namespace {

// What the next number of the statement would be.
// A range is a start, a dash, an end: RangeEnd follows a start, AfterDash
// the dash.  A number that is no line reference, then a comparison, may
// stand before ERL: AfterNumber, then BeforeErl.  RENUM's new number comes
// first (RenumberNew), then a comma (RenumberComma) before the old line.
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
  BeforeErl,
  RenumberNew,
  RenumberComma
};

// The comparisons of ERL that bound it, with ERL on the left and on the
// right; any other (=, <>) names a line.
constexpr struct {
  char16_t first;
  char16_t second;
  RangeEnd erlFirst;
  RangeEnd erlSecond;
} kBounds[] = {
    {u'<', 0, RangeEnd::Below, RangeEnd::Above},       {u'>', 0, RangeEnd::Above, RangeEnd::Below},
    {u'<', u'=', RangeEnd::AtMost, RangeEnd::AtLeast}, {u'=', u'<', RangeEnd::AtMost, RangeEnd::AtLeast},
    {u'>', u'=', RangeEnd::AtLeast, RangeEnd::AtMost}, {u'=', u'>', RangeEnd::AtLeast, RangeEnd::AtMost},
};

// MOD joins two operands.
constexpr QStringView kMod = u"MOD";

// Whether an operand may start after the token: ERL right after it is a
// whole side of a comparison, as is a number.  Others (signs, MOD, '=' of
// an assignment) may join what follows into an expression.
bool startsOperand(const Token &token) {
  if (token.kind == TokenKind::Other) {
    return token.isSign(u':') || token.isSign(u'(') || token.isSign(u',');
  }
  return token.word == Word::Then || token.word == Word::Else || token.word == Word::On ||
         isOperandWord(token);
}

// Whether the token carries on the operand before it: ERL*2, 50+1,
// 50 MOD 7; a name, number or string there is no comparison either.
bool extendsOperand(const Token &token) {
  switch (token.kind) {
  case TokenKind::Other:
    return QStringView(u"+-*/^\\\u00A5").contains(token.text[0]);
  case TokenKind::Keyword:
    return token.spells(kMod);
  case TokenKind::Name: // but AND and the like without a list
    return !startsOperand(token);
  case TokenKind::Number:
  case TokenKind::String:
    return true;
  default:
    return false;
  }
}

// The line references of a statement's tokens.
class ReferenceReader {
public:
  explicit ReferenceReader(std::vector<LineReference> &refs) : refs_(refs) {}

  void read(QStringView line, const Token &token) {
    if (comparedAt_.has_value()) {
      // A comparison of ERL stands only when its sides end there.
      if (extendsOperand(token)) {
        refs_.erase(refs_.begin() + *comparedAt_);
      }
      comparedAt_.reset();
    }
    switch (token.kind) {
    case TokenKind::Keyword:
      keyword(token.word);
      break;
    case TokenKind::Number:
      number(line, token);
      break;
    case TokenKind::Label:
      place({token.start, token.length, {}, RangeEnd::None, token.text.sliced(1)}, true);
      break;
    case TokenKind::Other:
      sign(token.text[0]);
      break;
    default: // names, strings, comments, DATA items
      expect_ = Expect::Nothing;
      break;
    }
    operandStart_ = startsOperand(token);
  }

private:
  // A line that ERL is compared with, undone by what follows it.
  void comparedLine(LineReference read) {
    comparedAt_ = static_cast<qsizetype>(refs_.size());
    reference(std::move(read));
  }

  void endStatement() {
    expect_ = Expect::Nothing;
    inOn_ = onError_ = false;
  }

  void reference(LineReference read) { refs_.push_back(std::move(read)); }

  void markRangeStart(RangeEnd range) {
    if (rangeStart_ >= 0) {
      refs_[static_cast<size_t>(rangeStart_)].range = range;
    }
  }

  // What the comparison read so far makes of a number, ERL on the left or
  // on the right.
  RangeEnd bound(bool erlFirst) const {
    for (const auto &b : kBounds) {
      if (compared_[0] == b.first && compared_[1] == b.second) {
        return erlFirst ? b.erlFirst : b.erlSecond;
      }
    }
    return RangeEnd::None;
  }

  // A line number is the number's leading digits: GOTO 1.5 goes to 1.
  void number(QStringView line, const Token &token) {
    qsizetype digits = 0;
    while (digits < token.length && isDigit(token.text[digits])) {
      ++digits;
    }
    if (digits == 0) {
      expect_ = Expect::Nothing;
      return;
    }
    LineReference read{token.start, digits, {}, RangeEnd::None, {}};
    qsizetype unused = 0;
    read.target = readNumber(line, token.start, unused);
    if (expect_ == Expect::LineNotZero && read.target == LineNumber(0)) {
      expect_ = Expect::Nothing;
      return;
    }
    place(std::move(read), digits == token.length);
  }

  // A number or label that `whole` ends where it stands.
  void place(LineReference read, bool whole) {
    switch (expect_) {
    case Expect::LineAfterCompare:
      if (whole) {
        read.range = bound(true);
        comparedLine(std::move(read));
      }
      break;
    case Expect::Line:
    case Expect::LineList:
      reference(std::move(read));
      expect_ = expect_ == Expect::LineList && whole ? Expect::LineList : Expect::Nothing;
      return;
    case Expect::LineNotZero:
      reference(std::move(read));
      break;
    case Expect::RenumberNew:
      // The number the lines get, not a line.
      expect_ = whole ? Expect::RenumberComma : Expect::Nothing;
      return;
    case Expect::Range:
    case Expect::RangeEnd:
    case Expect::AfterDash:
      rangeNumber(std::move(read));
      if (!whole) {
        expect_ = Expect::Nothing;
      }
      return;
    default:
      // Kept in case ERL follows, after a comparison.
      pending_ = std::move(read);
      expect_ = whole && operandStart_ ? Expect::AfterNumber : Expect::Nothing;
      return;
    }
    expect_ = Expect::Nothing;
  }

  void rangeNumber(LineReference read) {
    const bool afterDash = expect_ == Expect::AfterDash;
    if (afterDash) {
      markRangeStart(RangeEnd::FromTo);
      read.range = RangeEnd::To;
    }
    reference(std::move(read));
    const bool first = expect_ == Expect::Range;
    rangeStart_ = first ? static_cast<qsizetype>(refs_.size()) - 1 : -1;
    expect_ = first ? Expect::RangeEnd : Expect::Nothing;
  }

  void sign(QChar c) {
    if (c == u':') {
      endStatement();
    } else if (expect_ == Expect::LineList && c == u',') {
      // the next entry of an ON list
    } else if ((expect_ == Expect::RenumberNew || expect_ == Expect::RenumberComma) && c == u',') {
      expect_ = Expect::Line;
    } else if ((expect_ == Expect::Range || expect_ == Expect::RangeEnd || expect_ == Expect::AfterDash) &&
               c == u'-') {
      if (expect_ == Expect::RangeEnd) {
        markRangeStart(RangeEnd::From);
      }
      expect_ = Expect::AfterDash;
    } else if (c == u'=' || c == u'<' || c == u'>') {
      compare(c);
    } else {
      expect_ = Expect::Nothing;
    }
  }

  // A sign of a comparison after ERL, or after a number ERL may follow.
  void compare(QChar c) {
    switch (expect_) {
    case Expect::Comparison:
    case Expect::AfterNumber:
      compared_[0] = compared_[1] = 0;
      expect_ = expect_ == Expect::Comparison ? Expect::LineAfterCompare : Expect::BeforeErl;
      break;
    case Expect::LineAfterCompare:
    case Expect::BeforeErl:
      break;
    default:
      expect_ = Expect::Nothing;
      return;
    }
    if (compared_[0] == 0) {
      compared_[0] = c.unicode();
    } else if (compared_[1] == 0) {
      compared_[1] = c.unicode();
    } else {
      compared_[0] = u'!'; // a third sign makes no bound
    }
  }

  void keyword(Word word) {
    if (word == Word::Erl && expect_ == Expect::BeforeErl) {
      pending_.range = bound(false);
      comparedLine(std::move(pending_));
    }
    switch (follows(word)) {
    case Follows::Jump:
      expect_ = onError_ ? Expect::LineNotZero : inOn_ ? Expect::LineList : Expect::Line;
      break;
    case Follows::Line:
      expect_ = Expect::Line;
      break;
    case Follows::LineNotZero:
      expect_ = Expect::LineNotZero;
      break;
    case Follows::Range:
      rangeStart_ = -1;
      expect_ = Expect::Range;
      break;
    case Follows::Renumber:
      expect_ = Expect::RenumberNew;
      break;
    case Follows::Comparison:
      // 2*ERL<50 bounds no line.
      expect_ = operandStart_ ? Expect::Comparison : Expect::Nothing;
      break;
    case Follows::Nothing:
      inOn_ = inOn_ || word == Word::On;
      onError_ = onError_ || (inOn_ && word == Word::Error);
      expect_ = Expect::Nothing;
      break;
    }
  }

  std::vector<LineReference> &refs_;
  Expect expect_ = Expect::Nothing;
  // The reference that starts the range being read, or -1.
  qsizetype rangeStart_ = -1;
  // The last number that was no line reference.
  LineReference pending_;
  // The signs of the comparison being read.
  char16_t compared_[2] = {};
  // Where the line ERL was last compared with is, until the next token.
  std::optional<qsizetype> comparedAt_;
  // Whether the last token lets an operand start: the statement's start too.
  bool operandStart_ = true;
  bool inOn_ = false;
  bool onError_ = false;
};

// The tokens of the line's statements, in a buffer each thread keeps.
const std::vector<Token> &statementTokens(QStringView line, const ProgramLine &numbered,
                                          const KeywordMatcher &keywords,
                                          LineForm form = LineForm::Numbered) {
  thread_local std::vector<Token> tokens;
  readTokens(line, numbered.numberStart + numbered.numberLength, keywords, tokens, form);
  return tokens;
}

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
  return {true, at.start, length, std::move(number), {}, 0, false};
}

ProgramLine readLine(QStringView line, const KeywordMatcher &keywords, LineForm form) {
  ProgramLine result = readLineNumber(line);
  if (result.isProgram || form == LineForm::Source) {
    const std::vector<Token> &tokens = statementTokens(line, result, keywords, form);
    ReferenceReader reader(result.references);
    for (const Token &token : tokens) {
      reader.read(line, token);
    }
    if (form == LineForm::Source) {
      result.codeEnd = codeEnd(line, tokens, result.continues);
    }
  }
  return result;
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
