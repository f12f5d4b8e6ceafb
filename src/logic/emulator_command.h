#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kavrin {

// The quoting rules of a command line.  Posix: a shell's, without running
// one; '...' keeps everything, "..." keeps everything but \" \\ \$ and \`,
// and outside quotes a backslash escapes the next character.  Windows: only
// "..." quotes, and a backslash is a path separator.
enum class Quoting { Posix, Windows };

// The rules of this platform.
Quoting platformQuoting();

// Splits a command line into words: blanks outside quotes separate them.
// Nothing when a quote is not closed.
std::optional<QStringList> splitCommandLine(const QString &line, Quoting quoting);

// The words as a command line that splitCommandLine reads back as them,
// each quoted only where it must be (on Windows, a word cannot hold '"').
QString joinCommandLine(const QStringList &words, Quoting quoting = platformQuoting());

// `commandLine` with `program` as its program, quoted where it must be;
// the rest of the line stays as typed.  An empty line gets " %1" after it.
// Nothing when a quote in the line is not closed: where its first word
// ends is then a guess.
std::optional<QString> withProgram(const QString &commandLine, const QString &program,
                                   Quoting quoting = platformQuoting());

// Why a command line whose quote is not closed cannot be used.
QString unclosedQuoteError();

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
                                     Quoting quoting = platformQuoting());

} // namespace kavrin
