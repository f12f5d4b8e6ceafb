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

// The line fixed for `rule` by its row's fix (`keywords` are the mode's), or
// the line as it is for a rule without one.
QString fixLine(QStringView line, CheckRule rule, const KeywordMatcher &keywords);

} // namespace kavrin::basic
