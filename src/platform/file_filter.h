#pragma once

#include <QString>
#include <QStringList>

namespace kavrin {

// Turns a "description|mask|..." filter into Qt name filters.  "*.*" means
// every file, also names without a dot.  Qt's own dialog matches the masks
// without regard to case, so "*.TXT" lists a.txt and B.Txt too.
QStringList qtNameFilters(const QString &filter);

} // namespace kavrin
