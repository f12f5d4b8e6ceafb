#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kavrin {

// Splits a command line into words as a shell does with quotes, without
// running one: blanks separate words; '...' keeps everything; "..." keeps
// everything but, where backslashes escape, \" \\ \$ and \`.  Outside
// quotes a backslash escapes the next character where backslashes escape.
// Nothing when a quote is not closed.
std::optional<QStringList> splitCommandLine(const QString &line, bool backslashEscapes);

// Backslashes escape off Windows; on Windows they are path separators.
bool backslashesEscape();

// `commandLine` with `program` as its program, quoted where it must be;
// the rest of the line stays as typed.  An empty line gets " %1" after it.
QString withProgram(const QString &commandLine, const QString &program,
                    bool backslashEscapes = backslashesEscape());

// An emulator run: the program as written in the command line and its
// arguments, or why there is none.
struct EmulatorCommand {
  QString program;
  QStringList arguments;
  QString error;
};

// "%1" in any word stands for the image path, which stays one argument
// whatever it holds; a command line without "%1" gets the path last.
EmulatorCommand buildEmulatorCommand(const QString &commandLine, const QString &image,
                                     bool backslashEscapes = backslashesEscape());

} // namespace kavrin
