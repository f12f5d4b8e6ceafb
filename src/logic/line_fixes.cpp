#include "logic/line_fixes.h"

#include "logic/basic_reader.h"
#include "logic/line_tokens.h"

#include <algorithm>

namespace kavrin::basic {
namespace {

constexpr char16_t kFirstFullWidth = 0xFF01;
constexpr char16_t kLastFullWidth = 0xFF5E;
// From a full-width form to its ASCII sign.
constexpr char16_t kFullWidthOffset = 0xFF01 - 0x21;

// Those an input method types beside the full-width forms.
constexpr struct {
  char16_t wide;
  char16_t ascii;
} kOtherWide[] = {{0x3000, u' '},  {0xFFE5, u'\\'}, {0x2018, u'\''},
                  {0x2019, u'\''}, {0x201C, u'"'},  {0x201D, u'"'}};

bool isQuote(QChar c) { return c == u'"' || asciiFormOf(c) == u'"'; }

// Fixes the characters outside strings, comments and DATA up to the first
// quote or comment mark it makes, which changes how the rest reads; a
// quote fixed takes its closing quote along, leaving the string as it is.
// Returns whether the line must be read again.
bool fixUpToAQuote(QString &fixed, qsizetype from, const KeywordMatcher &keywords) {
  for (const Token &token : readTokens(fixed, from, keywords)) {
    const char16_t ascii = token.kind == TokenKind::Other ? asciiFormOf(token.text[0]) : 0;
    if (ascii == 0) {
      continue;
    }
    const qsizetype at = token.start;
    fixed[at] = QChar(ascii);
    if (ascii == u'"') {
      const auto close = std::find_if(fixed.begin() + at + 1, fixed.end(), isQuote);
      if (close != fixed.end()) {
        *close = u'"';
      }
    }
    if (ascii == u'"' || ascii == u'\'') {
      return true;
    }
  }
  return false;
}

QString halfWidthOutsideStrings(QStringView line, const KeywordMatcher &keywords) {
  QString fixed = line.toString();
  const ProgramLine read = readLineNumber(line);
  const qsizetype from = read.isProgram ? read.numberStart + read.numberLength : 0;
  while (fixUpToAQuote(fixed, from, keywords)) {
    // each pass fixed a character: this ends
  }
  return fixed;
}

} // namespace

char16_t asciiFormOf(QChar c) {
  const char16_t u = c.unicode();
  if (u >= kFirstFullWidth && u <= kLastFullWidth) {
    return static_cast<char16_t>(u - kFullWidthOffset);
  }
  for (const auto &other : kOtherWide) {
    if (u == other.wide) {
      return other.ascii;
    }
  }
  return 0;
}

bool hasFix(CheckRule rule) { return rule == CheckRule::FullWidth || rule == CheckRule::YenOverline; }

QString fixLine(QStringView line, CheckRule rule, const KeywordMatcher &keywords) {
  if (rule == CheckRule::FullWidth) {
    return halfWidthOutsideStrings(line, keywords);
  }
  QString fixed = line.toString();
  if (rule == CheckRule::YenOverline) {
    fixed.replace(QChar(0x00A5), u'\\').replace(QChar(0x203E), u'~');
  }
  return fixed;
}

} // namespace kavrin::basic
