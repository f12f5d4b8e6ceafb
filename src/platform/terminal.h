#pragma once

#include <QString>
#include <QStringList>

namespace kavrin {

// The command line as the user typed it, the program's name first, before
// any application object exists: on Windows from the wide-character command
// line, since argv there holds only the ANSI code page.
QStringList programArguments(int argc, char **argv);

// Writes to the terminal the program was started from.  A Windows GUI
// program has none of its own, so it borrows its parent's console.  False
// when the text could not be written whole (a closed or full output).
bool printToTerminal(const QString &text, bool toStandardError);

} // namespace kavrin
