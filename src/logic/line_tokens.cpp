#include "logic/line_tokens.h"

#include "logic/basic_words.h"
#include "logic/line_number.h"

#include <algorithm>

namespace kavrin::basic {
namespace {

bool isLetter(QChar c) {
  const char16_t u = upperAscii(c);
  return u >= u'A' && u <= u'Z';
}

bool isTypeSign(QChar c) { return c == u'$' || c == u'%' || c == u'!' || c == u'#'; }

bool isNameChar(QChar c) { return isLetter(c) || isDigit(c) || c == u'.'; }

bool isLabelStart(QChar c) { return isLetter(c) || c == u'_'; }

// The words an operand may follow.  Read as keywords, or as names where the
// mode's list lacks them.
constexpr QStringView kOperandWords[] = {u"IF", u"AND", u"OR", u"NOT", u"XOR"};

// The digits &H, &O and &B take.
bool isDigitOf(char16_t base, QChar c) {
  const char16_t u = upperAscii(c);
  switch (base) {
  case u'H':
    return isDigit(c) || (u >= u'A' && u <= u'F');
  case u'O':
    return u >= u'0' && u <= u'7';
  default:
    return u == u'0' || u == u'1';
  }
}

class Tokenizer {
public:
  Tokenizer(QStringView line, const KeywordMatcher &keywords, std::vector<Token> &tokens, LineForm form)
      : s_(line), keywords_(keywords), tokens_(tokens), source_(form == LineForm::Source) {}

  void run(qsizetype from) {
    tokens_.clear();
    i_ = from;
    while (i_ < s_.size()) {
      step();
    }
  }

private:
  Token &add(TokenKind kind, qsizetype length) {
    Token &token = tokens_.emplace_back();
    token.kind = kind;
    token.start = i_;
    token.length = length;
    token.text = s_.sliced(i_, length);
    i_ += length;
    return token;
  }

  void step() {
    const QChar c = s_[i_];
    if (isBlank(c)) {
      ++i_;
    } else if (c == u'"') {
      string();
    } else if (c == u'\'') {
      if (source_ && sourceCommentAt(i_)) {
        add(TokenKind::SourceComment, s_.size() - i_);
      } else {
        add(TokenKind::Comment, commentEnd(i_ + 1) - i_);
      }
    } else if (c == u'*' && source_ && labelMayFollow(tokens_)) {
      label();
    } else if (isDigit(c) || (c == u'.' && i_ + 1 < s_.size() && isDigit(s_[i_ + 1]))) {
      number();
    } else if (c == u'&' && i_ + 1 < s_.size() &&
               QStringView(u"HOB").contains(QChar(upperAscii(s_[i_ + 1])))) {
      const char16_t base = upperAscii(s_[i_ + 1]);
      qsizetype end = i_ + 2;
      while (end < s_.size() && isDigitOf(base, s_[end])) {
        ++end;
      }
      add(TokenKind::Number, end - i_);
    } else if (!word()) {
      add(TokenKind::Other, 1);
    }
  }

  // The blanks right before the ' at `k` hold a tab: a source comment.
  bool sourceCommentAt(qsizetype k) const {
    if (s_[k] != u'\'') {
      return false;
    }
    bool tab = false;
    for (qsizetype j = k; j > 0 && isBlank(s_[j - 1]); --j) {
      tab = tab || s_[j - 1] == u'\t';
    }
    return tab;
  }

  qsizetype blanksStart(qsizetype k) const {
    while (k > 0 && isBlank(s_[k - 1])) {
      --k;
    }
    return k;
  }

  // Where a comment from `from` ends: before a source comment in it.
  qsizetype commentEnd(qsizetype from) const {
    for (qsizetype k = source_ ? s_.indexOf(u'\'', from) : -1; k >= 0; k = s_.indexOf(u'\'', k + 1)) {
      if (sourceCommentAt(k)) {
        return std::max(from, blanksStart(k));
      }
    }
    return s_.size();
  }

  void label() {
    const qsizetype name = labelNameLength(s_, i_ + 1);
    add(name > 0 ? TokenKind::Label : TokenKind::Other, 1 + name);
  }

  void string() {
    const qsizetype close = s_.indexOf(u'"', i_ + 1);
    add(TokenKind::String, (close < 0 ? s_.size() : close + 1) - i_);
  }

  void number() {
    qsizetype end = i_;
    while (end < s_.size() && (isDigit(s_[end]) || s_[end] == u'.')) {
      ++end;
    }
    end = exponentEnd(end);
    if (end < s_.size() && isTypeSign(s_[end])) {
      ++end;
    }
    add(TokenKind::Number, end - i_);
  }

  // Past an exponent (E or D, a sign, digits) at `end`, or `end`.
  qsizetype exponentEnd(qsizetype end) const {
    if (end + 1 >= s_.size() || (upperAscii(s_[end]) != u'E' && upperAscii(s_[end]) != u'D')) {
      return end;
    }
    qsizetype k = end + 1;
    if (s_[k] == u'+' || s_[k] == u'-') {
      ++k;
    }
    if (k >= s_.size() || !isDigit(s_[k])) {
      return end;
    }
    while (k < s_.size() && isDigit(s_[k])) {
      ++k;
    }
    return k;
  }

  // The keyword at the place, the longest of the list's and the known
  // words; `listed` when the list has it.
  qsizetype keywordAt(qsizetype pos, Word &word, bool &listed) const {
    qsizetype known = 0;
    word = wordAt(s_, pos, known);
    const qsizetype inList = keywords_.matchAt(s_, pos);
    listed = inList > 0 && inList >= known;
    if (inList > known) {
      word = Word::None;
      return inList;
    }
    return known;
  }

  bool word() {
    Word known = Word::None;
    bool listed = false;
    const qsizetype length = keywordAt(i_, known, listed);
    if (length > 0) {
      Token &token = add(TokenKind::Keyword, length);
      token.word = known;
      token.listed = listed;
      if (known == Word::Rem) {
        add(TokenKind::Comment, commentEnd(i_) - i_);
      } else if (known == Word::Data) {
        data();
      }
      return true;
    }
    if (!isLetter(s_[i_])) {
      return false;
    }
    name();
    return true;
  }

  void data() {
    qsizetype end = i_;
    bool quoted = false;
    while (end < s_.size() && (quoted || (s_[end] != u':' && !(source_ && sourceCommentAt(end))))) {
      quoted = quoted != (s_[end] == u'"');
      ++end;
    }
    if (end < s_.size() && s_[end] == u'\'') {
      end = std::max(i_, blanksStart(end));
    }
    if (end > i_) {
      add(TokenKind::Data, end - i_);
    }
  }

  void name() {
    const qsizetype start = i_;
    qsizetype end = i_ + 1;
    Word unusedWord = Word::None;
    bool unusedListed = false;
    while (end < s_.size() && isNameChar(s_[end]) && keywordAt(end, unusedWord, unusedListed) == 0) {
      ++end;
    }
    Token &token = add(TokenKind::Name, end - start);
    if (end < s_.size() && isTypeSign(s_[end])) {
      token.typeSign = s_[end];
      ++end;
    }
    qsizetype next = end;
    while (next < s_.size() && isBlank(s_[next])) {
      ++next;
    }
    token.array = next < s_.size() && (s_[next] == u'(' || s_[next] == u'[');
    token.length = end - start;
    i_ = end;
  }

  QStringView s_;
  const KeywordMatcher &keywords_;
  std::vector<Token> &tokens_;
  bool source_ = false;
  qsizetype i_ = 0;
};

} // namespace

qsizetype labelNameLength(QStringView text, qsizetype pos) {
  if (pos >= text.size() || !isLabelStart(text[pos])) {
    return 0;
  }
  qsizetype end = pos + 1;
  while (end < text.size() && (isLabelStart(text[end]) || isDigit(text[end]))) {
    ++end;
  }
  return end - pos;
}

bool Token::spells(QStringView upper) const {
  return (kind == TokenKind::Keyword || kind == TokenKind::Name) && text.size() == upper.size() &&
         matchesAt(text, 0, upper);
}

bool isOperandWord(const Token &token) {
  return std::ranges::any_of(kOperandWords, [&token](QStringView word) { return token.spells(word); });
}

// After a word a reference follows, a word an operand follows or a sign,
// but for a closing bracket: A*B and (A)*B multiply.
bool labelMayFollow(const std::vector<Token> &tokens) {
  if (tokens.empty()) {
    return true;
  }
  const Token &previous = tokens.back();
  switch (previous.kind) {
  case TokenKind::Other:
    return !previous.isSign(u')') && !previous.isSign(u']');
  case TokenKind::Keyword:
    if (const Follows f = follows(previous.word); f != Follows::Nothing && f != Follows::Comparison) {
      return true;
    }
    return isOperandWord(previous) || previous.word == Word::On;
  case TokenKind::Name:
    return isOperandWord(previous);
  default:
    return false;
  }
}

qsizetype codeEnd(QStringView line, const std::vector<Token> &tokens, bool &continues) {
  qsizetype end = line.size();
  auto last = tokens.rbegin();
  if (last != tokens.rend() && last->kind == TokenKind::SourceComment) {
    end = last->start;
    while (end > 0 && isBlank(line[end - 1])) {
      --end;
    }
    ++last;
  }
  continues = last != tokens.rend() && last->isSign(u':');
  return end;
}

void readTokens(QStringView line, qsizetype from, const KeywordMatcher &keywords, std::vector<Token> &tokens,
                LineForm form) {
  Tokenizer(line, keywords, tokens, form).run(from);
}

std::vector<Token> readTokens(QStringView line, qsizetype from, const KeywordMatcher &keywords,
                              LineForm form) {
  std::vector<Token> tokens;
  readTokens(line, from, keywords, tokens, form);
  return tokens;
}

} // namespace kavrin::basic
