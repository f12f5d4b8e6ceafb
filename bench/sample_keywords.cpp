#include "sample_keywords.h"

#include <QSet>
#include <QString>

#include <algorithm>
#include <array>
#include <random>
#include <stdexcept>

namespace kavrin::bench {
namespace {

// Beginnings that many entries share, so that a few typed letters match a
// run of entries rather than a single one.
const std::array kStems{
    u"AD",  u"AL",  u"AP",  u"AR", u"AU", u"BA", u"BL",  u"BO",  u"BU", u"CA",  u"CH", u"CL",
    u"CO",  u"CON", u"CR",  u"CU", u"DA", u"DE", u"DEF", u"DI",  u"DR", u"ED",  u"EN", u"ER",
    u"EX",  u"FI",  u"FL",  u"FO", u"FR", u"GE", u"GR",  u"HA",  u"IN", u"INS", u"IS", u"KE",
    u"LI",  u"LO",  u"MA",  u"ME", u"MO", u"NE", u"OP",  u"PA",  u"PL", u"PO",  u"PR", u"PRI",
    u"RE",  u"REA", u"RES", u"RO", u"SA", u"SC", u"SE",  u"SET", u"SH", u"SO",  u"SP", u"ST",
    u"STR", u"SY",  u"TA",  u"TE", u"TI", u"TR", u"UP",  u"VA",  u"VI", u"WA",  u"WI", u"WR",
};

const std::array kSyllables{
    u"A",  u"AL", u"AN",  u"AR",  u"AT",  u"BOX", u"CH", u"CK",  u"E",  u"ED",  u"EL",  u"EN", u"ER",  u"ES",
    u"ET", u"IC", u"ID",  u"IN",  u"ING", u"ION", u"IT", u"KEY", u"LE", u"LEN", u"LIN", u"NT", u"NUM", u"O",
    u"ON", u"OR", u"OUT", u"POS", u"RE",  u"SET", u"ST", u"TE",  u"TH", u"UP",  u"US",  u"X",  u"Y",
};

class Words {
public:
  explicit Words(unsigned seed) : random_(seed) {}

  QString next() {
    QString word = QString::fromUtf16(kStems[pick(kStems.size())]);
    const std::size_t syllables = 1 + pick(3);
    for (std::size_t i = 0; i < syllables; ++i) {
      word += QString::fromUtf16(kSyllables[pick(kSyllables.size())]);
    }
    switch (pick(12)) {
    case 0:
    case 1:
      word += u'$';
      break;
    case 2:
      word += QChar(u'0' + static_cast<char16_t>(pick(10)));
      break;
    default:
      break;
    }
    return word;
  }

private:
  std::size_t pick(std::size_t n) { return static_cast<std::size_t>(random_() % n); }

  // mt19937 gives the same sequence everywhere, unlike the distributions.
  std::mt19937 random_;
};

} // namespace

QStringList makeKeywordList(const QStringList &basicWords, qsizetype count) {
  QSet<QString> entries(basicWords.begin(), basicWords.end());
  if (entries.size() > count) {
    throw std::invalid_argument("more BASIC words than keyword entries");
  }
  Words words(932);
  while (entries.size() < count) {
    entries.insert(words.next());
  }
  QStringList list(entries.begin(), entries.end());
  // For ASCII, comparing UTF-16 code units is comparing bytes.
  std::sort(list.begin(), list.end());
  return list;
}

} // namespace kavrin::bench
