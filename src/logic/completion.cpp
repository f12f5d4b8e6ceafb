#include "logic/completion.h"

#include "logic/line_tokens.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace kavrin {
namespace {

bool isAsciiLetter(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

char16_t asciiUpper(char16_t u) { return (u >= u'a' && u <= u'z') ? static_cast<char16_t>(u - 32) : u; }

qsizetype longestEntry(const QStringList &keywords) {
  qsizetype longest = 0;
  for (const QString &entry : keywords) {
    longest = std::max(longest, entry.size());
  }
  return longest;
}

// The letters directly before the caret, in capitals, at most `limit` of
// them: a longer run could match no entry anyway.
QString wordBeforeCaret(const EditControl &edit, int caret, qsizetype limit) {
  QString word;
  int pos = caret;
  while (pos > 0 && caret - pos < std::max<qsizetype>(limit, 1)) {
    const QChar c = edit.charAt(pos - 1);
    if (!isAsciiLetter(c)) {
      break;
    }
    word.prepend(QChar(asciiUpper(c.unicode())));
    --pos;
  }
  return word;
}

// The label name typed after a '*' just before the caret, in capitals;
// none without the '*'.
std::optional<QString> labelBeforeCaret(const EditControl &edit, int caret,
                                        const basic::KeywordMatcher &keywords) {
  QString word;
  int pos = caret;
  for (QChar c = edit.charAt(pos - 1); pos > 0 && (isAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'_');
       c = edit.charAt(--pos - 1)) {
    word.prepend(QChar(asciiUpper(c.unicode())));
  }
  if (pos == 0 || edit.charAt(pos - 1) != u'*') {
    return std::nullopt;
  }
  // X=2*SI multiplies: only where the reader would take a label.
  QString before;
  for (int k = edit.lineStart(pos - 1); k < pos - 1; ++k) {
    before.append(edit.charAt(k));
  }
  if (!basic::labelMayFollow(basic::readTokens(before, 0, keywords, basic::LineForm::Source))) {
    return std::nullopt;
  }
  return word;
}

struct Match {
  qsizetype start = -1; // where the matched letters begin in the word
  int first = -1;       // the first entry that begins with them
};

// The longest tail of `word` that begins an entry, and the first such entry.
// One pass over the list, trying at each entry only the tails that start
// with its first letter, keeps this quick for long lists.
Match longestMatch(const QString &word, const QStringList &keywords) {
  std::array<std::vector<qsizetype>, 26> startsByLetter;
  for (qsizetype i = 0; i < word.size(); ++i) {
    startsByLetter[word[i].unicode() - u'A'].push_back(i);
  }
  Match best;
  qsizetype bestStart = word.size();
  for (int k = 0; k < keywords.size() && bestStart > 0; ++k) {
    const QString &entry = keywords[k];
    if (entry.isEmpty() || entry[0] < u'A' || entry[0] > u'Z') {
      continue;
    }
    for (const qsizetype start : startsByLetter[entry[0].unicode() - u'A']) {
      if (start >= bestStart) {
        break;
      }
      if (entry.startsWith(QStringView(word).mid(start))) {
        bestStart = start;
        best = {start, k};
        break;
      }
    }
  }
  return best;
}

void showEntry(EditControl &edit, const QStringList &keywords, const CompletionState &state) {
  const QString tail = keywords[state.CompIndex].mid(state.CompPrefix.size());
  const int start = edit.selStart();
  edit.setSelText(tail);
  edit.setSelStart(start);
  edit.setSelLength(static_cast<int>(tail.size()));
}

// The first label that begins with all of `word`.
Match firstLabel(const QString &word, const QStringList &labels) {
  for (int k = 0; k < labels.size(); ++k) {
    if (!labels[k].isEmpty() && labels[k].startsWith(word)) {
      return {0, k};
    }
  }
  return {};
}

// With `label`, the name typed after '*', the cycle goes through `keywords`
// as label names.
bool startCycle(EditControl &edit, const QStringList &keywords, const std::optional<QString> &label,
                bool backwards, CompletionState &state) {
  state.CompActive = true;
  state.CompPrefix.clear();
  const QString word = label ? *label : wordBeforeCaret(edit, edit.selStart(), longestEntry(keywords));
  const Match match = label ? firstLabel(word, keywords) : longestMatch(word, keywords);
  if (match.first < 0) {
    state.CompIndex = CompletionState::kNoMatch;
    return true;
  }
  state.CompPrefix = word.mid(match.start);
  state.CompFirst = match.first;
  int end = match.first + 1;
  while (end < keywords.size() && keywords[end].startsWith(state.CompPrefix)) {
    ++end;
  }
  state.CompEnd = end;
  state.CompIndex = backwards ? state.CompEnd - 1 : state.CompFirst;
  showEntry(edit, keywords, state);
  return false;
}

bool stepCycle(EditControl &edit, const QStringList &keywords, bool backwards, CompletionState &state) {
  if (state.CompIndex == CompletionState::kNoMatch) {
    return true;
  }
  // The list is never changed during a cycle; should it be, nothing outside
  // it may be shown.
  if (state.CompFirst < 0 || state.CompEnd > keywords.size() || state.CompFirst >= state.CompEnd) {
    state.CompIndex = CompletionState::kNoMatch;
    return true;
  }
  bool alone = false;
  if (backwards) {
    state.CompIndex = state.CompIndex == state.CompFirst - 1 ? state.CompEnd - 1 : state.CompIndex - 1;
    if (state.CompIndex == state.CompFirst - 1) {
      state.CompIndex = state.CompEnd;
      alone = true;
    }
  } else {
    state.CompIndex = state.CompIndex == state.CompEnd ? state.CompFirst : state.CompIndex + 1;
    if (state.CompIndex == state.CompEnd) {
      state.CompIndex = state.CompFirst - 1;
      alone = true;
    }
  }
  if (alone) {
    edit.setSelText(QString());
    return true;
  }
  showEntry(edit, keywords, state);
  return false;
}

} // namespace

bool completeKeyword(EditControl &edit, const QStringList &keywords, bool backwards, CompletionState &state,
                     const LabelWords *labels) {
  if (!state.CompActive) {
    const std::optional<QString> label =
        labels != nullptr ? labelBeforeCaret(edit, edit.selStart(), labels->keywords) : std::nullopt;
    state.CompLabels = label.has_value();
    return startCycle(edit, label ? labels->names : keywords, label, backwards, state);
  }
  return stepCycle(edit, state.CompLabels && labels != nullptr ? labels->names : keywords, backwards, state);
}

void endCompletion(EditControl &edit, CompletionState &state, bool keepCompletion) {
  if (!state.CompActive) {
    return;
  }
  state.CompActive = false;
  // A cycle that matched nothing added nothing: a selection the user made
  // stays for the key to act on.
  if (keepCompletion && state.CompIndex != CompletionState::kNoMatch) {
    edit.setSelStart(edit.selStart() + edit.selLength());
  }
}

void endCompletionOnKey(EditControl &edit, CompletionState &state, int key) {
  if (key == Qt::Key_Shift) {
    return;
  }
  endCompletion(edit, state, key != Qt::Key_Backspace && key != Qt::Key_Escape);
}

} // namespace kavrin
