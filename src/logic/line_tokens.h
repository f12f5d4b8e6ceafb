#pragma once

#include <QString>
#include <QStringView>

#include "logic/basic_words.h"
#include "logic/keyword_matcher.h"

#include <vector>

// A program line as the machine's BASIC reads its statements: keywords
// wherever their letters stand, the longest first (those of the current
// list, and the words of basic_words, known without one), names, numbers,
// strings, comments and DATA items.  The one reader of a statement: line
// references, colours and the check all read its tokens.
namespace kavrin::basic {

enum class TokenKind : quint8 {
  Keyword, // `text` is the keyword as written
  Name,    // letters, digits and '.'; `text` is the name without its type sign
  Number,  // decimal with fraction, exponent and type sign; &H, &O, &B
  String,  // with its quotes
  Comment, // after REM or ', to the end of the line
  Data,    // the items of a DATA statement, to its ':' or the line's end
  Other,   // one character of anything else (signs, ':', full-width letters)
  // Source form only:
  Label,         // *NAME where a line reference may stand, '*' included
  SourceComment, // a ' after a tab outside a string, to the end of the line
};

// A numbered program line as the machine reads it, or a line of the source
// form, which also reads labels and source comments.
enum class LineForm : quint8 { Numbered, Source };

struct Token {
  TokenKind kind = TokenKind::Other;
  qsizetype start = 0;
  qsizetype length = 0;
  QStringView text;   // within the line
  QChar typeSign;     // '$', '%', '!', '#' or null, for a name
  bool array = false; // a name followed by '('
  // A keyword that a line reference may follow or that shapes how the
  // statement reads ("GO TO" with blanks is GoTo).
  Word word = Word::None;
  // A keyword of the current list, as written there.
  bool listed = false;

  // `upper` in upper case.
  template <std::size_t N> bool isKeyword(const char16_t (&upper)[N]) const {
    if (word == Word::GoTo) {
      return QStringView(upper, qsizetype{N - 1}) == u"GOTO";
    }
    return kind == TokenKind::Keyword && text.size() == qsizetype{N - 1} &&
           matchesAt(text, 0, QStringView(upper, qsizetype{N - 1}));
  }
  bool isSign(char16_t c) const { return kind == TokenKind::Other && length == 1 && text[0] == c; }
  // A keyword, or a name where the list lacks the keyword, spelled `upper`.
  bool spells(QStringView upper) const;
};

// The length of the label name at `pos`: a letter or '_', then letters,
// digits or '_'; 0 when none starts there.
qsizetype labelNameLength(QStringView text, qsizetype pos);

// IF, AND, OR, NOT, XOR: an operand may start after them.
bool isOperandWord(const Token &token);

// Source form: a '*' after `tokens` (those of a line so far) starts a
// label, not a multiplication.
bool labelMayFollow(const std::vector<Token> &tokens);

// The tokens of `line` from `from` (just past its line number), in order;
// blanks make none. `keywords` is the current mode's list.
std::vector<Token> readTokens(QStringView line, qsizetype from, const KeywordMatcher &keywords,
                              LineForm form = LineForm::Numbered);
// The same into `tokens`, replacing what it held.
void readTokens(QStringView line, qsizetype from, const KeywordMatcher &keywords, std::vector<Token> &tokens,
                LineForm form = LineForm::Numbered);

// Source form: where the code of `line` read as `tokens` ends, before a
// source comment and the blanks before it; `continues` is set when its last
// token is ':'.
qsizetype codeEnd(QStringView line, const std::vector<Token> &tokens, bool &continues);

} // namespace kavrin::basic
