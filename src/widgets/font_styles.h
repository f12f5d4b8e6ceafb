#pragma once

#include <QString>

#include <vector>

namespace kavrin {

// One entry of the font dialog's style list.
struct FontStyle {
  QString name;
  int weight;
  bool italic;
};

// The styles `family` offers, one for each weight and slant, named in
// Japanese where the font's English name is a common one, lightest first.
// Regular, italic, bold and bold italic are always among them.
std::vector<FontStyle> fontStyles(const QString &family);

// The entry nearest to the given weight and slant, a slant mismatch
// weighing most; -1 for an empty list.
int nearestStyle(const std::vector<FontStyle> &styles, int weight, bool italic);

} // namespace kavrin
