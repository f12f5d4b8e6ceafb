#include "logic/emulator_command.h"

#include <QDir>
#include <gtest/gtest.h>

namespace kavrin {
namespace {

TEST(EmulatorCommand, SplitsAsAShellDoesWithoutRunningOne) {
  const struct {
    const char *line;
    Quoting quoting;
    const char *words; // joined by '|'; "!" for an unclosed quote
  } cases[] = {
      {"  openmsx  -cart  x ", Quoting::Posix, "openmsx|-cart|x"},
      {"'/opt/my emu/run' \"a b\"c", Quoting::Posix, "/opt/my emu/run|a bc"},
      {"a\\ b \"q\\\"x\\$\" 'k\\'", Quoting::Posix, "a b|q\"x$|k\\"},
      {"C:\\emu\\run.exe \"C:\\Program Files\\x\"", Quoting::Windows,
       "C:\\emu\\run.exe|C:\\Program Files\\x"},
      {"'' \"\"", Quoting::Posix, "|"},
      {"run 'open", Quoting::Posix, "!"},
      {"$HOME;ls *", Quoting::Posix, "$HOME;ls|*"},
      {"C:\\Bob's\\emu.exe -t 'a b' \"it's\"", Quoting::Windows, "C:\\Bob's\\emu.exe|-t|'a|b'|it's"},
      {"emu \"open", Quoting::Windows, "!"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    const std::optional<QStringList> words = splitCommandLine(QString::fromUtf8(c.line), c.quoting);
    EXPECT_EQ(words ? words->join(u'|') : QStringLiteral("!"), QString::fromUtf8(c.words));
  }
}

TEST(EmulatorCommand, ThePathIsOneArgumentWhereverItGoes) {
  const QString image = QStringLiteral("/tmp/my game's %1 \"x\".cas");
  const QString given = QDir::toNativeSeparators(image); // as a Windows program reads it
  const struct {
    const char *line;
    QStringList expected; // program first; error text when it has one entry starting with '!'
  } cases[] = {
      {"emu -tape %1 -run", {"emu", "-tape", given, "-run"}},
      {"emu --tape=%1", {"emu", "--tape=" + given}},
      {"emu -fast", {"emu", "-fast", given}},
      {"\"emu\"", {"emu", given}},
      {"  ", {"!"}},
      {"emu 'x", {"!"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    const EmulatorCommand command = buildEmulatorCommand(QString::fromUtf8(c.line), image, Quoting::Posix);
    if (c.expected == QStringList{"!"}) {
      EXPECT_FALSE(command.error.isEmpty());
    } else {
      EXPECT_EQ(QStringList{command.program} + command.arguments, c.expected);
    }
  }
}

TEST(EmulatorCommand, AJoinedCommandLineSplitsBackIntoItsWords) {
  const QStringList words{"/opt/txt2bas", "my prog's.txt", "", "a$b", "C:\\x.cas"};
  EXPECT_EQ(joinCommandLine(words, Quoting::Posix), "/opt/txt2bas 'my prog'\\''s.txt' '' 'a$b' 'C:\\x.cas'");
  for (const Quoting quoting : {Quoting::Posix, Quoting::Windows}) {
    EXPECT_EQ(splitCommandLine(joinCommandLine(words, quoting), quoting), words);
  }
}

TEST(EmulatorCommand, ABrowsedProgramReplacesOnlyTheFirstWord) {
  const struct {
    const char *line;
    const char *program;
    Quoting quoting;
    const char *result; // "!" for none
  } cases[] = {
      {"", "/usr/bin/openmsx", Quoting::Posix, "/usr/bin/openmsx %1"},
      {"old -cart  %1", "/opt/emu", Quoting::Posix, "/opt/emu -cart  %1"},
      {"  'old emu' %1", "/opt/my emu's", Quoting::Posix, "'/opt/my emu'\\''s' %1"},
      {"old %1", "C:\\Emu X\\emu.exe", Quoting::Windows, "\"C:\\Emu X\\emu.exe\" %1"},
      {"\"C:\\old emu\" -t 'x y' %1", "C:\\Bob's\\emu.exe", Quoting::Windows,
       "C:\\Bob's\\emu.exe -t 'x y' %1"},
      {"old -title 'my game %1", "/opt/emu", Quoting::Posix, "!"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    const std::optional<QString> result =
        withProgram(QString::fromUtf8(c.line), QString::fromUtf8(c.program), c.quoting);
    EXPECT_EQ(result.value_or(QStringLiteral("!")), QString::fromUtf8(c.result));
    if (result) {
      EXPECT_EQ(splitCommandLine(*result, c.quoting).value().first(), QString::fromUtf8(c.program));
    }
  }
}

} // namespace
} // namespace kavrin
