#include "logic/line_fixes.h"

#include "logic/basic_reader.h"
#include "logic/line_tokens.h"

namespace kavrin::basic {
namespace {

constexpr char16_t kIdeographicSpace = 0x3000;
constexpr char16_t kFirstFullWidth = 0xFF01;
constexpr char16_t kLastFullWidth = 0xFF5E;
// From a full-width form to its ASCII sign.
constexpr char16_t kFullWidthOffset = 0xFF01 - 0x21;

QString halfWidthOutsideStrings(QStringView line) {
  QString fixed = line.toString();
  const ProgramLine read = readLineNumber(line);
  const qsizetype from = read.isProgram ? read.numberStart + read.numberLength : 0;
  // Only REM and DATA matter here, and the reader knows them without a list.
  for (const Token &token : readTokens(line, from, KeywordMatcher())) {
    const char16_t c = token.kind == TokenKind::Other ? token.text[0].unicode() : u'\0';
    if (c == kIdeographicSpace) {
      fixed[token.start] = u' ';
    } else if (c >= kFirstFullWidth && c <= kLastFullWidth) {
      fixed[token.start] = QChar(static_cast<char16_t>(c - kFullWidthOffset));
    }
  }
  return fixed;
}

} // namespace

bool hasFix(CheckRule rule) { return rule == CheckRule::FullWidth || rule == CheckRule::YenOverline; }

QString fixLine(QStringView line, CheckRule rule) {
  if (rule == CheckRule::FullWidth) {
    return halfWidthOutsideStrings(line);
  }
  QString fixed = line.toString();
  if (rule == CheckRule::YenOverline) {
    fixed.replace(QChar(0x00A5), u'\\').replace(QChar(0x203E), u'~');
  }
  return fixed;
}

} // namespace kavrin::basic
