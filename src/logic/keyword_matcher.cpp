#include "logic/keyword_matcher.h"

#include <algorithm>

namespace kavrin::basic {

KeywordMatcher::KeywordMatcher(const QStringList &words) {
  for (const QString &word : words) {
    if (word.isEmpty() || word[0].unicode() >= 128) {
      continue;
    }
    QString key;
    key.reserve(word.size());
    for (const QChar c : word) {
      key.append(QChar(upperAscii(c)));
    }
    byFirst_[key[0].unicode()].push_back(key);
    if (key.size() > 1 && key[1].unicode() < 128) {
      seconds_[key[0].unicode()].set(key[1].unicode());
    }
    empty_ = false;
  }
  for (auto &bucket : byFirst_) {
    std::stable_sort(bucket.begin(), bucket.end(),
                     [](const QString &a, const QString &b) { return a.size() > b.size(); });
  }
}

qsizetype KeywordMatcher::matchAt(QStringView text, qsizetype pos) const {
  const char16_t first = upperAscii(text[pos]);
  if (first >= 128) {
    return 0;
  }
  const std::vector<QString> &bucket = byFirst_[first];
  if (pos + 1 < text.size()) {
    const char16_t second = upperAscii(text[pos + 1]);
    if (second < 128 && !seconds_[first].test(second)) {
      // Only a one-letter word can start here.
      return !bucket.empty() && bucket.back().size() == 1 ? 1 : 0;
    }
  }
  for (const QString &word : bucket) {
    if (matchesAt(text, pos, word)) {
      return word.size();
    }
  }
  return 0;
}

} // namespace kavrin::basic
