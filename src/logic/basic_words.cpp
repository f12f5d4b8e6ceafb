#include "logic/basic_words.h"

#include "logic/keyword_matcher.h"
#include "logic/line_number.h"

#include <array>
#include <bit>

namespace kavrin::basic {
namespace {

// One row per word: a new reference form is a row here.  Views made once:
// a view of a literal made at each call counts its length.
constexpr struct {
  QStringView text;
  Word word;
  Follows follows;
} kWords[] = {
    {u"GOTO", Word::GoTo, Follows::Jump},       {u"GOSUB", Word::GoSub, Follows::Jump},
    {u"THEN", Word::Then, Follows::Line},       {u"ELSE", Word::Else, Follows::Line},
    {u"RESTORE", Word::Restore, Follows::Line}, {u"RESUME", Word::Resume, Follows::LineNotZero},
    {u"RUN", Word::Run, Follows::Line},         {u"RETURN", Word::Return, Follows::Line},
    {u"LIST", Word::List, Follows::Range},      {u"LLIST", Word::List, Follows::Range},
    {u"DELETE", Word::Delete, Follows::Range},  {u"ERL", Word::Erl, Follows::Comparison},
    {u"ON", Word::On, Follows::Nothing},        {u"ERROR", Word::Error, Follows::Nothing},
    {u"REM", Word::Rem, Follows::Nothing},      {u"DATA", Word::Data, Follows::Nothing},
    {u"RENUM", Word::Renum, Follows::Renumber},
};

// "GO TO" with blanks between its halves.
const QStringView kGo = u"GO";
const QStringView kTo = u"TO";
// For each first letter, which of the words above start with it.
constexpr std::array<quint32, 128> kByFirst = [] {
  static_assert(std::size(kWords) <= 32);
  std::array<quint32, 128> masks{};
  for (std::size_t i = 0; i < std::size(kWords); ++i) {
    masks[kWords[i].text[0].unicode()] |= quint32{1} << i;
  }
  return masks;
}();

constexpr std::array<Follows, static_cast<std::size_t>(Word::Data) + 1> kFollows = [] {
  std::array<Follows, static_cast<std::size_t>(Word::Data) + 1> by{};
  for (const auto &w : kWords) {
    by[static_cast<std::size_t>(w.word)] = w.follows;
  }
  return by;
}();

qsizetype goToWithBlanks(QStringView text, qsizetype pos) {
  if (!matchesAt(text, pos, kGo)) {
    return 0;
  }
  qsizetype i = pos + 2;
  while (i < text.size() && isBlank(text[i])) {
    ++i;
  }
  return i > pos + 2 && matchesAt(text, i, kTo) ? i + 2 - pos : 0;
}

} // namespace

Word wordAt(QStringView text, qsizetype pos, qsizetype &length) {
  length = 0;
  Word found = Word::None;
  const char16_t first = upperAscii(text[pos]);
  if (first >= kByFirst.size() || kByFirst[first] == 0) {
    return found;
  }
  for (quint32 left = kByFirst[first]; left != 0; left &= left - 1) {
    const auto &w = kWords[std::countr_zero(left)];
    if (w.text.size() > length && matchesAt(text, pos, w.text)) {
      length = w.text.size();
      found = w.word;
    }
  }
  if (first == u'G') {
    if (const qsizetype spaced = goToWithBlanks(text, pos); spaced > length) {
      length = spaced;
      found = Word::GoTo;
    }
  }
  return found;
}

Follows follows(Word word) { return kFollows[static_cast<std::size_t>(word)]; }

} // namespace kavrin::basic
