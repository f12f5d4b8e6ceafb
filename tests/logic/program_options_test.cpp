#include "logic/program_options.h"

#include <gtest/gtest.h>

namespace kavrin {
namespace {

using Action = ProgramOptions::Action;

// The printed texts and exit codes are checked on the real program
// (app/command_line.cmake); here, what reaches Qt and what is opened.
TEST(ProgramOptions, QtsOptionsNeverTakeAFileAndAfterTheEndOfOptionsAllAreFiles) {
  const struct {
    QStringList arguments; // after the program's name
    Action action;
    QStringList files;
    const char *printed; // part of the text printed
    int qtArguments;     // counted with the program's name
  } cases[] = {
      {{"prog.txt", "other.txt"}, Action::Run, {"prog.txt", "other.txt"}, "", 3},
      {{"-"}, Action::Run, {"-"}, "", 2},
      {{"--", "--version", "--"}, Action::Run, {"--version", "--"}, "", 1},
      {{"-platform", "offscreen", "-style=fusion", "-reverse", "a.txt"}, Action::Run, {"a.txt"}, "", 6},
      {{"a.txt", "--help"}, Action::PrintHelp, {}, "Usage: kavrin", 3},
      {{"--frobnicate=3", "--", "-y"}, Action::Refuse, {}, "unknown option '--frobnicate'\n", 2},
      {{"-hv"}, Action::Refuse, {}, "unknown option '-hv'", 2},
      {{"a.txt", "-platform"}, Action::Refuse, {}, "-platform", 3},
      {{"--version=2"}, Action::Refuse, {}, "--version", 2},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.arguments.join(u' ').toStdString());
    const ProgramOptions options = readProgramOptions(QStringList{QStringLiteral("kavrin")} + c.arguments);
    EXPECT_EQ(options.action, c.action);
    EXPECT_EQ(options.files, c.files);
    EXPECT_EQ(options.qtArgumentCount, c.qtArguments);
    EXPECT_TRUE(options.text.contains(QString::fromUtf8(c.printed))) << options.text.toStdString();
  }
}

} // namespace
} // namespace kavrin
