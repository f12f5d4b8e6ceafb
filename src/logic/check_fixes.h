#pragma once

#include "logic/check_rules.h"

#include <QString>
#include <QStringView>

namespace kavrin::basic {

// Whether a finding of the rule can be fixed by fixLine.
bool hasFix(CheckRule rule);

// The line with the rule's findings fixed: full-width letters, digits,
// signs and spaces outside strings, REM, ' and DATA become ASCII
// (FullWidth); ¥ and ‾ become \ and ~ anywhere (YenOverline), which the
// machine shows as ¥ and ‾.  Other rules leave the line as it is.
//
// STAND-IN: replace with the rules' own fixLine once it is in kavrin_logic.
QString fixLine(QStringView line, CheckRule rule);

} // namespace kavrin::basic
