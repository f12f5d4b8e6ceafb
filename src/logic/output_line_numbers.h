#pragma once

#include "logic/line_number.h"

#include <QRegularExpression>
#include <QString>
#include <QStringView>

#include <optional>

namespace kavrin {

// A row of a converter's output: its text and the BASIC line it names.
struct OutputRow {
  QString text;
  std::optional<basic::LineNumber> line;

  bool operator==(const OutputRow &) const = default;
};

// Finds the BASIC line a line of output names.  The default forms, the
// English words in any letter case: "line 120", "Line 120:", "in 120",
// "120行", "120行目", "行 120", and "120:" at the start.  A number links only
// when it stands on its own (not "120.5", "line120abc", "in 1200ms", nor a
// time "12:30:45") and the machine allows it as a line number.
//
// The user's own regular expression, with exactly one capture group that
// holds the number, is used instead of the default forms; its first match
// counts.  One that is invalid or has another count of groups is not used:
// problem() says why, and the defaults apply.
class OutputLineFinder {
public:
  explicit OutputLineFinder(const QString &userPattern = {});

  std::optional<basic::LineNumber> lineIn(QStringView text) const;
  OutputRow row(QString text) const;
  // Why the user's pattern is not used, as one line; empty when it is used
  // or there is none.
  const QString &problem() const { return problem_; }

private:
  QRegularExpression pattern_;
  QString problem_;
};

} // namespace kavrin
