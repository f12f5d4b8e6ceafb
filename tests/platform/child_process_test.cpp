#include "platform/child_process.h"
#include "support/temp_dir.h"

#include <QFileInfo>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>
#ifdef Q_OS_LINUX
#include <poll.h>
#include <pty.h>
#include <sys/syscall.h>

namespace {
// The signals this program sends to process groups: kill() below stands in
// for the system's.
std::atomic<int> groupSignals{0};
} // namespace

extern "C" int kill(pid_t pid, int sig) noexcept {
  if (pid < -1 && sig != 0) {
    ++groupSignals;
  }
  return static_cast<int>(::syscall(SYS_kill, pid, sig));
}
#endif

namespace kavrin {
namespace {

using testing::TempDir;

#ifdef Q_OS_UNIX

QEventLoop::ProcessEventsFlags allEvents() { return QEventLoop::AllEvents; }

QString canonical(const QString &path) { return QFileInfo(path).canonicalFilePath(); }

QString writeScript(const TempDir &dir, const QString &name, const QByteArray &body = "exit 0\n") {
  const QString path = dir.write(name, "#!/bin/sh\n" + body);
  EXPECT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  return path;
}

TEST(ProgramLookup, TheOwnFolderThenThePathAndWineForWindowsPrograms) {
  TempDir own;
  TempDir onPath;
  const QString mine = writeScript(own, "txt2bas");
  writeScript(onPath, "txt2bas");
  const QString there = writeScript(onPath, "csave");
  const QString wine = writeScript(onPath, "wine");
  const QString exe = own.write("conv.exe", "MZ\x90");
  const QByteArray oldPath = qgetenv("PATH");
  qputenv("PATH", QFile::encodeName(onPath.root()));
  EXPECT_EQ(canonical(findProgram("txt2bas", own.root())), canonical(mine));
  EXPECT_EQ(canonical(findProgram("csave", own.root())), canonical(there));
  EXPECT_EQ(findProgram("kavrin-none", own.root()) + findProgram(QString(), own.root()), QString());
  EXPECT_EQ(findProgram("tools/txt2bas.exe", own.root()), "tools/txt2bas.exe");
  const QStringList args{"a.txt", "b.cas"};
  EXPECT_EQ(launchFor(mine, args).program + launchFor(own.path("gone"), args).program,
            mine + own.path("gone"));
  const Launch viaWine = launchFor(exe, args);
  EXPECT_EQ(canonical(viaWine.program + viaWine.error), canonical(wine));
  EXPECT_EQ(viaWine.arguments, QStringList{exe} + args);
  qputenv("PATH", QFile::encodeName(own.root()));
  EXPECT_EQ(launchFor(exe, args).error, "Windows 用のプログラムを実行するには wine が必要です。");
  qputenv("PATH", oldPath);
}

// Every piece until the end; a child that never ends is cancelled, so no test hangs.
QList<QByteArray> readPieces(ChildProcess &child, qsizetype maxBytes = 4096) {
  QTimer guard;
  bool timedOut = false;
  QObject::connect(&guard, &QTimer::timeout, [&] {
    timedOut = true;
    child.cancel();
  });
  guard.start(10000);
  QList<QByteArray> pieces;
  for (QByteArray piece; !(piece = child.nextErrorPiece(maxBytes, allEvents)).isEmpty();) {
    EXPECT_LE(piece.size(), maxBytes);
    pieces.append(piece);
  }
  EXPECT_FALSE(timedOut) << "the child did not end";
  return pieces;
}

TEST(ChildProcess, ErrorOutputInPiecesThenTheExitCode) {
  TempDir dir;
  TempDir work;
  QByteArray data(10000, 0);
  std::generate(data.begin(), data.end(), [i = 0]() mutable { return char(i++ % 251); });
  dir.write("data.bin", data);
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(work.root()));
  const struct {
    QByteArray body;
    qsizetype maxBytes;
    QByteArray output;
    int code; // -1: killed
  } rows[] = {{"cat \"$(dirname \"$0\")/data.bin\" >&2\n", 7, data, 0},
              {"printf '%s|%s|%s\\n' \"$(pwd -P)\" \"$PATH\" \"$1\" >&2\nexit 3\n", 4096,
               QFile::encodeName(canonical(work.root())) + "|" + qgetenv("PATH") + "|a b\n", 3},
              {"printf 'dying\\n' >&2\nkill -KILL $$\n", 4096, "dying\n", -1}};
  for (const auto &r : rows) {
    SCOPED_TRACE(r.body.constData());
    ChildProcess child;
    QString why = "stale";
    ASSERT_TRUE(child.start(writeScript(dir, "run.sh", r.body), {"a b"}, why) && why.isEmpty());
    EXPECT_EQ(readPieces(child, r.maxBytes).join(), r.output);
    EXPECT_EQ(child.exitedNormally(), r.code >= 0);
    EXPECT_EQ(child.exitedNormally() ? child.exitCode() : -1, r.code);
    EXPECT_EQ(child.crashed(), r.code < 0);
    EXPECT_TRUE(child.nextErrorPiece(4096, allEvents).isEmpty()); // the end stays the end
  }
  QDir::setCurrent(before);
}

TEST(ChildProcess, AProgramThatCannotRunSaysWhy) {
  TempDir dir;
  const QString path = dir.write("not-executable", "#!/bin/sh\nexit 0\n");
  const QString gone = dir.path("gone");
  const QString rows[][2] = {{path, "プログラムを起動できません: " + path + " ("},
                             {gone, "プログラムが見つかりません: " + gone},
                             {"kavrin-none", "プログラムが見つかりません: kavrin-none"}};
  for (const auto &[program, message] : rows) {
    ChildProcess child;
    QString why;
    EXPECT_FALSE(child.start(program, {}, why));
    EXPECT_TRUE(why.startsWith(message) && !why.contains(u'\n')) << why.toStdString();
    EXPECT_TRUE(child.nextErrorPiece(4096, allEvents).isEmpty());
  }
}

// Whether a process of the group still runs; one that has died but is not
// yet reaped by its new parent counts as gone.
bool groupRuns(pid_t group) {
  for (int i = 0; i < 50 && ::kill(-group, 0) == 0; ++i) {
    QDir proc("/proc");
    if (proc.exists() && std::ranges::none_of(proc.entryList(QDir::Dirs), [group](const QString &pid) {
          QFile stat("/proc/" + pid + "/stat");
          const QList<QByteArray> fields = stat.open(QIODevice::ReadOnly)
                                               ? stat.readAll().split(')').value(1).split(' ')
                                               : QList<QByteArray>();
          return fields.size() > 3 && fields[1] != "Z" && fields[3].toInt() == group;
        })) {
      return false;
    }
    ::usleep(100000);
  }
  return ::kill(-group, 0) == 0;
}

TEST(ChildProcess, CancelStopsTheChildAndWhatItStartedEvenIfTheyIgnoreTheRequest) {
  TempDir dir;
  // An ignored signal stays ignored across exec and in the programs started:
  // by all of them, or only by one the child starts while it ends by it.
  const QString script = writeScript(dir, "hang.sh",
                                     "[ \"$1\" = all ] && trap '' TERM\nsleep 30 &\nsleep 30 2>&- &\n"
                                     "if [ \"$1\" = one ]; then trap '' TERM; sleep 30 & trap - TERM; fi\n"
                                     "echo $$ >&2\nexec sleep 30\n");
  for (const QString &trap : {QString(), QStringLiteral("all"), QStringLiteral("one")}) {
    SCOPED_TRACE(trap.toStdString());
    auto owned = std::make_unique<ChildProcess>();
    ChildProcess &child = *owned;
    QString why;
    ASSERT_TRUE(child.start(script, {trap}, why)) << why.toStdString();
    const pid_t group = child.nextErrorPiece(4096, allEvents).trimmed().toInt();
    ASSERT_TRUE(group > 0 && ::kill(-group, 0) == 0); // a group of its own
    child.cancel();
    EXPECT_TRUE(readPieces(child).isEmpty()); // in time
    EXPECT_FALSE(child.exitedNormally());
    EXPECT_TRUE(child.cancelled());
    EXPECT_FALSE(groupRuns(group));
#ifdef Q_OS_LINUX
    // Reaped now, the child's group id may be another's: past the time a
    // kill would be due, and past the end, no group is signalled.
    const int sent = groupSignals;
    QEventLoop wait;
    QTimer::singleShot(1500, &wait, &QEventLoop::quit);
    wait.exec();
    owned.reset();
    EXPECT_EQ(groupSignals, sent);
#endif
  }
}

#ifdef Q_OS_LINUX
// The editor started from a terminal, in its foreground: a converter that sets
// the terminal up must not be stopped as a background job would be.
TEST(ChildProcess, AProgramThatSetsUpTheTerminalItWasStartedFromEndsByItself) {
  if (qEnvironmentVariableIsSet("KAVRIN_IN_TERMINAL")) { // the editor's side, run below
    ChildProcess child;
    QString why;
    const bool started = child.start(qEnvironmentVariable("KAVRIN_IN_TERMINAL"), {}, why);
    readPieces(child);
    std::_Exit(started && child.exitedNormally() && child.exitCode() == 0 ? 0 : 1);
  }
  TempDir dir;
  qputenv("KAVRIN_IN_TERMINAL", writeScript(dir, "tty.sh", "stty -echo && stty echo\n").toLocal8Bit());
  const std::string filter =
      "--gtest_filter=ChildProcess.AProgramThatSetsUpTheTerminalItWasStartedFromEndsByItself";
  int terminal = -1;
  const pid_t editor = ::forkpty(&terminal, nullptr, nullptr, nullptr);
  if (editor == 0) {
    ::execl("/proc/self/exe", "platform_tests", filter.c_str(), nullptr);
    ::_exit(127);
  }
  qunsetenv("KAVRIN_IN_TERMINAL");
  ASSERT_GT(editor, 0);
  // Until the terminal closes, or a stopped converter holds it open too long.
  char drained[4096];
  pollfd ready{terminal, POLLIN, 0};
  for (int waited = 0; waited < 200 && ::poll(&ready, 1, 100) >= 0; ++waited) {
    if (ready.revents != 0 && ::read(terminal, drained, sizeof drained) <= 0) {
      break;
    }
  }
  ::kill(editor, SIGKILL); // nothing when it has ended
  ::close(terminal);
  int status = -1;
  ::waitpid(editor, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}
#endif // Q_OS_LINUX

#endif // Q_OS_UNIX

} // namespace
} // namespace kavrin
