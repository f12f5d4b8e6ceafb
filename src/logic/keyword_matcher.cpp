#include "logic/keyword_matcher.h"

#include <algorithm>

namespace kavrin::basic {

char16_t upperAscii(QChar c) {
  const char16_t u = c.unicode();
  return u >= u'a' && u <= u'z' ? static_cast<char16_t>(u - (u'a' - u'A')) : u;
}

bool matchesAt(QStringView text, qsizetype pos, QStringView word) {
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
  for (const QString &word : byFirst_[first]) {
    if (matchesAt(text, pos, word)) {
      return word.size();
    }
  }
  return 0;
}

} // namespace kavrin::basic
