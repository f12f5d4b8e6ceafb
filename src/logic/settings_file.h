#pragma once

#include <QList>
#include <QRect>
#include <QString>

namespace kavrin {

// Where the program finds its files.
struct ProgramPaths {
  // Its own folder, with the keyword lists, ending in a separator.
  QString exeDir;
  QString iniFile;
  // Where recovery copies are kept.
  QString stateDir;

  // The paths of the running program.
  static ProgramPaths ofThisProgram();
};

// Where the settings live: "kavrin.ini" beside the program when its folder
// is writable and holds its keyword lists (a copy run from its own folder),
// else in the user's configuration folder, as for an installed copy.
QString settingsFilePath(const QString &exeDir);

// A saved window rectangle that lies off every screen (a monitor was
// unplugged) comes back centred on the primary screen, no larger than it.
QRect keepOnScreen(const QRect &outer, const QList<QRect> &screens, const QRect &primary);

} // namespace kavrin
