#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <vector>

namespace kavrin::basic {

// An ASCII letter in upper case; anything else as it is.
char16_t upperAscii(QChar c);

// Whether `word` (upper case) stands at `pos` in `text`, ignoring case.
bool matchesAt(QStringView text, qsizetype pos, QStringView word);

// Finds the longest word of a list at a place, ignoring case.
class KeywordMatcher {
public:
  KeywordMatcher() = default;
  explicit KeywordMatcher(const QStringList &words);

  // Length of the longest word that starts at `pos` in `text`, or 0.
  qsizetype matchAt(QStringView text, qsizetype pos) const;
  bool empty() const { return empty_; }

private:
  // By upper-case ASCII first letter, longest first.
  std::array<std::vector<QString>, 128> byFirst_;
  bool empty_ = true;
};

} // namespace kavrin::basic
