#pragma once

#include <QString>
#include <QStringList>

namespace kavrin {

// What the command line asks of the program.
struct ProgramOptions {
  enum class Action { Run, PrintHelp, PrintVersion, Refuse };
  Action action = Action::Run;
  // The arguments that are not options, in order: the first is opened.
  QStringList files;
  // What to print for the actions that end at once: help and version on
  // standard output, a refusal on standard error.
  QString text;
  // How many leading arguments Qt may read its own options from: those
  // before "--", which are the user's files whatever they look like.
  int qtArgumentCount = 0;

  int exitCode() const { return action == Action::Refuse ? 2 : 0; }
};

// Reads the full argument list, the program's name first.  Qt's own options
// (-platform, -style, ...) are known, so that they reach Qt unrefused.
ProgramOptions readProgramOptions(const QStringList &arguments);

} // namespace kavrin
