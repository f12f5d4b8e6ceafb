#include "logic/basic_words.h"

#include "logic/keyword_matcher.h"
#include "logic/line_number.h"

#include <array>
#include <bit>

namespace kavrin::basic {
namespace {

// Views made once: a view of a literal made at each call counts its length.
constexpr struct {
  QStringView text;
  Word word;
} kWords[] = {
    {u"GOTO", Word::GoTo},   {u"GOSUB", Word::GoSub},     {u"THEN", Word::Then},
    {u"ELSE", Word::Else},   {u"RESTORE", Word::Restore}, {u"RESUME", Word::Resume},
    {u"RUN", Word::Run},     {u"RETURN", Word::Return},   {u"LIST", Word::List},
    {u"LLIST", Word::List},  {u"DELETE", Word::Delete},   {u"ERL", Word::Erl},
    {u"ON", Word::On},       {u"ERROR", Word::Error},     {u"REM", Word::Rem},
    {u"DATA", Word::Data},   {u"IF", Word::Other},        {u"AND", Word::Other},
    {u"OR", Word::Other},    {u"NOT", Word::Other},       {u"XOR", Word::Other},
    {u"EQV", Word::Other},   {u"IMP", Word::Other},       {u"MOD", Word::Other},
    {u"PRINT", Word::Other}, {u"TO", Word::Other},        {u"STEP", Word::Other},
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
  if (const qsizetype spaced = goToWithBlanks(text, pos); spaced > length) {
    length = spaced;
    found = Word::GoTo;
  }
  return found;
}

} // namespace kavrin::basic
