#pragma once

#include "logic/source_form.h"

#include <QString>

#include <vector>

namespace kavrin {

struct FeatureContext;

// Tells why a tool refused the document, line by line, as the check tells
// its findings: each an error row of the 検査 tab under `summary`, the tab
// shown on the first row, the caret on its line, and a box naming it.
void showLineErrors(const FeatureContext &context, const std::vector<basic::LineError> &errors,
                    const QString &summary);

} // namespace kavrin
