#pragma once

#include <QString>
#include <QStringView>

#include "logic/check_rules.h"
#include "logic/keyword_matcher.h"

// What the fix of a rule's finding makes of a program line.
namespace kavrin::basic {

// Whether the findings of `rule` have a fix.
bool hasFix(CheckRule rule);

// The ASCII character a full-width one an input method types stands for:
// the full-width forms U+FF01-U+FF5E, the ideographic space, the full-width
// yen sign and the curly quotes; or 0.
char16_t asciiFormOf(QChar c);

// The line fixed for `rule`, or the line as it is for a rule without a fix:
// FullWidth gives the characters of asciiFormOf outside strings, comments
// and DATA (read with the mode's `keywords`) their ASCII form; YenOverline
// makes every ¥ a backslash and every ‾ a tilde, which the machine shows
// that way.
QString fixLine(QStringView line, CheckRule rule, const KeywordMatcher &keywords);

} // namespace kavrin::basic
