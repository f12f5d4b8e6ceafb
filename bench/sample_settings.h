#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QDir;

namespace kavrin::bench {

// A "kavrin.ini" as a user's copy holds it after some use: every section
// and key kavrin reads, with values other than the defaults where a user
// would change them, in code page 932 with CR LF line ends.  `recentFiles`
// fills the four Recent entries.
QByteArray makeFullSettings(const QStringList &recentFiles);

// Settings files of their own for every window the run opens: none of them
// existing, for kavrin as first started, and a complete one.
struct SettingsFiles {
  QString none;
  QString full;
  QByteArray fullBytes;
};

// Writes the complete one and the recent files it names into `dir`.
SettingsFiles makeSettingsFiles(const QDir &dir);

} // namespace kavrin::bench
