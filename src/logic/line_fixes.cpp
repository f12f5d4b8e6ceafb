#include "logic/line_fixes.h"

#include "logic/basic_reader.h"
#include "logic/line_tokens.h"

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

qsizetype statementsFrom(QStringView line) {
  const ProgramLine read = readLineNumber(line);
  return read.isProgram ? read.numberStart + read.numberLength : 0;
}

// The characters a line's fixed reading holds in a string (not its
// quotes), a comment (not its ' mark) or DATA: those stay as written.
void keepWhatTheFixedLineQuotes(QString &fixed, QStringView line, const KeywordMatcher &keywords) {
  const QString once = fixed;
  for (const Token &token : readTokens(once, statementsFrom(once), keywords)) {
    qsizetype from = token.start;
    qsizetype to = token.start + token.length;
    if (token.kind == TokenKind::String) {
      ++from;
      to -= token.length > 1 && token.text.back() == u'"' ? 1 : 0;
    } else if (token.kind == TokenKind::Comment) {
      from += token.text.front() == u'\'' ? 1 : 0;
    } else if (token.kind != TokenKind::Data) {
      continue;
    }
    for (qsizetype i = from; i < to; ++i) {
      fixed[i] = line[i];
    }
  }
}

} // namespace

// In one reading of the line and one of the line fixed, so that a long
// line costs no more than its length: what a fixed quote, comment mark or
// REM makes a string or a comment stays as the user wrote it.
QString halfWidthOutsideStrings(QStringView line, const KeywordMatcher &keywords) {
  QString fixed = line.toString();
  for (const Token &token : readTokens(line, statementsFrom(line), keywords)) {
    if (token.kind == TokenKind::Other) {
      if (const char16_t ascii = asciiFormOf(token.text[0])) {
        fixed[token.start] = QChar(ascii);
      }
    }
  }
  if (fixed != line) {
    keepWhatTheFixedLineQuotes(fixed, line, keywords);
  }
  return fixed;
}

QString asciiYenAndOverline(QStringView line, const KeywordMatcher &) {
  QString fixed = line.toString();
  return fixed.replace(QChar(0x00A5), u'\\').replace(QChar(0x203E), u'~');
}

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

bool hasFix(CheckRule rule) { return rule != CheckRule::Basic && rowOf(rule).fix != nullptr; }

QString fixLine(QStringView line, CheckRule rule, const KeywordMatcher &keywords) {
  return hasFix(rule) ? rowOf(rule).fix(line, keywords) : line.toString();
}

} // namespace kavrin::basic
