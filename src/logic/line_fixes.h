#pragma once

#include <QString>
#include <QStringView>

#include "logic/check_rules.h"

// What the fix of a rule's finding makes of a program line.
namespace kavrin::basic {

// Whether the findings of `rule` have a fix.
bool hasFix(CheckRule rule);

// The line fixed for `rule`, or the line as it is for a rule without a fix:
// FullWidth makes full-width letters, digits and signs outside strings,
// comments and DATA their ASCII form and U+3000 a space; YenOverline makes
// every ¥ a backslash and every ‾ a tilde, which the machine shows that way.
QString fixLine(QStringView line, CheckRule rule);

} // namespace kavrin::basic
