#include "logic/program_options.h"

#include <gtest/gtest.h>

namespace kavrin {
namespace {

using Action = ProgramOptions::Action;

TEST(ProgramOptions, ReadsTheCommandLineAsLinuxProgramsDo) {
  const QString version = QStringLiteral("kavrin " KAVRIN_EXPECTED_VERSION "\n");
  const struct {
    QStringList arguments; // after the program's name
    Action action;
    QStringList files;
    const char *printed; // part of the text printed; "" to skip
    int qtArguments;     // counted with the program's name
  } cases[] = {
      {{}, Action::Run, {}, "", 1},
      {{"prog.txt", "other.txt"}, Action::Run, {"prog.txt", "other.txt"}, "", 3},
      {{""}, Action::Run, {""}, "", 2},
      {{"-"}, Action::Run, {"-"}, "", 2},
      {{"--", "-x.txt"}, Action::Run, {"-x.txt"}, "", 1},
      {{"--", "--version", "--"}, Action::Run, {"--version", "--"}, "", 1},
      {{"-platform", "offscreen", "-style=fusion", "-reverse", "a.txt"}, Action::Run, {"a.txt"}, "", 6},
      {{"--version"}, Action::PrintVersion, {}, "", 2},
      {{"-v"}, Action::PrintVersion, {}, "", 2},
      {{"a.txt", "--help"}, Action::PrintHelp, {}, "Usage: kavrin [options] [--] [file]", 3},
      {{"-h"}, Action::PrintHelp, {}, "--version", 2},
      {{"-x.txt"}, Action::Refuse, {}, "kavrin: unknown option '-x.txt'\n", 2},
      {{"--frobnicate=3", "--", "-y"}, Action::Refuse, {}, "unknown option '--frobnicate'", 2},
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
    EXPECT_EQ(options.exitCode(), c.action == Action::Refuse ? 2 : 0);
    if (c.action == Action::PrintVersion) {
      EXPECT_EQ(options.text, version);
    }
    if (c.action == Action::Refuse) {
      EXPECT_TRUE(options.text.endsWith(QStringLiteral("Try 'kavrin --help' for more information.\n")));
    }
  }
}

} // namespace
} // namespace kavrin
