#include "convert/emulator_command.h"

#include <gtest/gtest.h>

namespace kavrin {
namespace {

TEST(EmulatorCommand, SplitsAsAShellDoesWithoutRunningOne) {
  const struct {
    const char *line;
    bool escapes;
    const char *words; // joined by '|'; "!" for an unclosed quote
  } cases[] = {
      {"  openmsx  -cart  x ", true, "openmsx|-cart|x"},
      {"'/opt/my emu/run' \"a b\"c", true, "/opt/my emu/run|a bc"},
      {"a\\ b \"q\\\"x\\$\" 'k\\'", true, "a b|q\"x$|k\\"},
      {"C:\\emu\\run.exe \"C:\\Program Files\\x\"", false, "C:\\emu\\run.exe|C:\\Program Files\\x"},
      {"'' \"\"", true, "|"},
      {"run 'open", true, "!"},
      {"$HOME;ls *", true, "$HOME;ls|*"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    const std::optional<QStringList> words = splitCommandLine(QString::fromUtf8(c.line), c.escapes);
    EXPECT_EQ(words ? words->join(u'|') : QStringLiteral("!"), QString::fromUtf8(c.words));
  }
}

TEST(EmulatorCommand, ThePathIsOneArgumentWhereverItGoes) {
  const QString image = QStringLiteral("/tmp/my game's %1 \"x\".cas");
  const struct {
    const char *line;
    QStringList expected; // program first; error text when it has one entry starting with '!'
  } cases[] = {
      {"emu -tape %1 -run", {"emu", "-tape", image, "-run"}},
      {"emu --tape=%1", {"emu", "--tape=" + image}},
      {"emu -fast", {"emu", "-fast", image}},
      {"\"emu\"", {"emu", image}},
      {"  ", {"!"}},
      {"emu 'x", {"!"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    const EmulatorCommand command = buildEmulatorCommand(QString::fromUtf8(c.line), image, true);
    if (c.expected == QStringList{"!"}) {
      EXPECT_FALSE(command.error.isEmpty());
    } else {
      EXPECT_EQ(QStringList{command.program} + command.arguments, c.expected);
    }
  }
}

TEST(EmulatorCommand, ABrowsedProgramReplacesOnlyTheFirstWord) {
  const struct {
    const char *line;
    const char *program;
    bool escapes;
    const char *result;
  } cases[] = {
      {"", "/usr/bin/openmsx", true, "/usr/bin/openmsx %1"},
      {"old -cart  %1", "/opt/emu", true, "/opt/emu -cart  %1"},
      {"  'old emu' %1", "/opt/my emu's", true, "'/opt/my emu'\\''s' %1"},
      {"old %1", "C:\\Emu X\\emu.exe", false, "\"C:\\Emu X\\emu.exe\" %1"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    const QString result = withProgram(QString::fromUtf8(c.line), QString::fromUtf8(c.program), c.escapes);
    EXPECT_EQ(result, QString::fromUtf8(c.result));
    EXPECT_EQ(splitCommandLine(result, c.escapes).value().first(), QString::fromUtf8(c.program));
  }
}

} // namespace
} // namespace kavrin
