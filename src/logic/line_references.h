#pragma once

#include "logic/basic_reader.h"

#include <QStringView>

#include <optional>
#include <vector>

// Following a program's jumps: the line reference under the caret, and the
// lines that refer to a line.
namespace kavrin::basic {

// The reference that the caret at `column` of `line` stands on or right
// after; none in strings, comments, DATA or plain values.  `keywords` are
// the current mode's.
std::optional<LineReference> referenceAt(QStringView line, qsizetype column, const KeywordMatcher &keywords,
                                         LineForm form = LineForm::Numbered);

// The lines, in text order and each once, whose statements name `number`,
// or with a `label`, that label.
std::vector<int> linesReferringTo(QStringView text, const LineNumber &number, const KeywordMatcher &keywords,
                                  LineForm form = LineForm::Numbered, QStringView label = {});

} // namespace kavrin::basic
