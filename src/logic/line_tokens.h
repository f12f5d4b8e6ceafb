#pragma once

#include <QString>
#include <QStringView>

#include "logic/keyword_matcher.h"

#include <vector>

// A program line as the machine's BASIC reads its statements: keywords of
// the current list wherever their letters stand, names, numbers, strings,
// comments and DATA items.
namespace kavrin::basic {

enum class TokenKind : quint8 {
  Keyword, // `text` is the keyword as written
  Name,    // `text` is the name as written, without its type sign
  Number,
  String,  // with its quotes
  Comment, // after REM or ', to the end of the line
  Data,    // the items of a DATA statement, to its ':' or the line's end
  Other,   // one character of anything else (signs, ':', full-width letters)
};

struct Token {
  TokenKind kind = TokenKind::Other;
  qsizetype start = 0;
  qsizetype length = 0;
  QStringView text;   // within the line
  QChar typeSign;     // '$', '%', '!', '#' or null, for a name
  bool array = false; // a name followed by '('
  // The keyword is "GO TO" with blanks, read as GOTO.
  bool spacedGoTo = false;

  // `word` in upper case.
  template <std::size_t N> bool isKeyword(const char16_t (&word)[N]) const {
    if (spacedGoTo) {
      return QStringView(word, qsizetype{N - 1}) == u"GOTO";
    }
    return kind == TokenKind::Keyword && text.size() == qsizetype{N - 1} &&
           matchesAt(text, 0, QStringView(word, qsizetype{N - 1}));
  }
  bool isSign(char16_t c) const { return kind == TokenKind::Other && length == 1 && text[0] == c; }
};

// The tokens of `line` from `from` (just past its line number), in order;
// blanks make none. `keywords` is the current mode's list.
std::vector<Token> readTokens(QStringView line, qsizetype from, const KeywordMatcher &keywords);
// The same into `tokens`, replacing what it held.
void readTokens(QStringView line, qsizetype from, const KeywordMatcher &keywords, std::vector<Token> &tokens);

} // namespace kavrin::basic
