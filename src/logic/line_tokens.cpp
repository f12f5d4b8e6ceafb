#include "logic/line_tokens.h"

#include "logic/basic_words.h"
#include "logic/line_number.h"

namespace kavrin::basic {
namespace {

bool isLetter(QChar c) {
  const char16_t u = upperAscii(c);
  return u >= u'A' && u <= u'Z';
}

bool isTypeSign(QChar c) { return c == u'$' || c == u'%' || c == u'!' || c == u'#'; }

class Tokenizer {
public:
  Tokenizer(QStringView line, const KeywordMatcher &keywords, std::vector<Token> &tokens)
      : s_(line), keywords_(keywords), tokens_(tokens) {}

  void run(qsizetype from) {
    tokens_.clear();
    i_ = from;
    while (i_ < s_.size()) {
      step();
    }
  }

private:
  void add(TokenKind kind, qsizetype length) {
    tokens_.push_back({kind, i_, length, s_.sliced(i_, length), QChar(), false});
    i_ += length;
  }

  void step() {
    const QChar c = s_[i_];
    if (isBlank(c)) {
      ++i_;
    } else if (c == u'"') {
      const qsizetype close = s_.indexOf(u'"', i_ + 1);
      add(TokenKind::String, (close < 0 ? s_.size() : close + 1) - i_);
    } else if (c == u'\'') {
      add(TokenKind::Comment, s_.size() - i_);
    } else if (isDigit(c) || (c == u'.' && i_ + 1 < s_.size() && isDigit(s_[i_ + 1]))) {
      number();
    } else if (c == u'&' && i_ + 1 < s_.size() &&
               QStringView(u"HOB").contains(QChar(upperAscii(s_[i_ + 1])))) {
      qsizetype end = i_ + 2;
      while (end < s_.size() &&
             (isDigit(s_[end]) || (upperAscii(s_[end]) >= u'A' && upperAscii(s_[end]) <= u'F'))) {
        ++end;
      }
      add(TokenKind::Number, end - i_);
    } else if (!word()) {
      add(TokenKind::Other, 1);
    }
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

  // The keyword at the place, the longest; REM, DATA and "GO TO" with
  // blanks are known without a list, as the line references know them.
  qsizetype keywordAt(qsizetype pos, Word &word) const {
    qsizetype known = 0;
    const char16_t first = upperAscii(s_[pos]);
    word = first == u'R' || first == u'D' || first == u'G' ? wordAt(s_, pos, known) : Word::None;
    const qsizetype listed = keywords_.matchAt(s_, pos);
    const bool spacedGoTo = word == Word::GoTo && known > 4;
    if ((word == Word::Rem || word == Word::Data || spacedGoTo) && known >= listed) {
      return known;
    }
    word = Word::None;
    return listed;
  }

  bool word() {
    Word known = Word::None;
    const qsizetype length = keywordAt(i_, known);
    if (length > 0) {
      add(TokenKind::Keyword, length);
      tokens_.back().spacedGoTo = known == Word::GoTo;
      if (known == Word::Rem) {
        add(TokenKind::Comment, s_.size() - i_);
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
    while (end < s_.size() && (quoted || s_[end] != u':')) {
      quoted = quoted != (s_[end] == u'"');
      ++end;
    }
    if (end > i_) {
      add(TokenKind::Data, end - i_);
    }
  }

  void name() {
    const qsizetype start = i_;
    qsizetype end = i_ + 1;
    Word unused = Word::None;
    while (end < s_.size() && (isLetter(s_[end]) || isDigit(s_[end])) && keywordAt(end, unused) == 0) {
      ++end;
    }
    Token token{TokenKind::Name, start, end - start, s_.sliced(start, end - start), QChar(), false};
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
    tokens_.push_back(token);
    i_ = end;
  }

  QStringView s_;
  const KeywordMatcher &keywords_;
  std::vector<Token> &tokens_;
  qsizetype i_ = 0;
};

} // namespace

void readTokens(QStringView line, qsizetype from, const KeywordMatcher &keywords,
                std::vector<Token> &tokens) {
  Tokenizer(line, keywords, tokens).run(from);
}

std::vector<Token> readTokens(QStringView line, qsizetype from, const KeywordMatcher &keywords) {
  std::vector<Token> tokens;
  readTokens(line, from, keywords, tokens);
  return tokens;
}

} // namespace kavrin::basic
