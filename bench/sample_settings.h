#pragma once

#include <QByteArray>
#include <QStringList>

namespace kavrin::bench {

// A "kavrin.ini" as a user's copy holds it after some use: every section
// and key kavrin reads, with values other than the defaults where a user
// would change them, in code page 932 with CR LF line ends.  `recentFiles`
// fills the four Recent entries.
QByteArray makeFullSettings(const QStringList &recentFiles);

} // namespace kavrin::bench
