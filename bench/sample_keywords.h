#pragma once

#include <QStringList>
#include <QtGlobal>

namespace kavrin::bench {

// A keyword list of exactly `count` distinct entries in ascending byte
// order: `basicWords` and made-up capital words built, as real lists are,
// from a few dozen shared beginnings, some ending in '$' or a digit.  The
// same arguments give the same list.
QStringList makeKeywordList(const QStringList &basicWords, qsizetype count);

} // namespace kavrin::bench
