#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <bitset>
#include <vector>

namespace kavrin::basic {

// An ASCII letter in upper case; anything else as it is.  Inline: the
// readers ask it of every character.
inline char16_t upperAscii(QChar c) {
  const char16_t u = c.unicode();
  return u >= u'a' && u <= u'z' ? static_cast<char16_t>(u - (u'a' - u'A')) : u;
}

// Whether `word` (upper case) stands at `pos` in `text`, ignoring case.
inline bool matchesAt(QStringView text, qsizetype pos, QStringView word) {
  if (text.size() - pos < word.size()) {
    return false;
  }
  for (qsizetype k = 0; k < word.size(); ++k) {
    if (upperAscii(text[pos + k]) != word[k].unicode()) {
      return false;
    }
  }
  return true;
}

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
  // By first letter, the second letters its words have; most positions in
  // a name are ruled out by these alone.
  std::array<std::bitset<128>, 128> seconds_;
  bool empty_ = true;
};

} // namespace kavrin::basic
