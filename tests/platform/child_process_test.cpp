#include "platform/child_process.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <signal.h>
#endif

namespace kavrin {
namespace {

using testing::TempDir;

// Sets an environment variable for one test and puts the old value back.
class EnvOverride {
public:
  EnvOverride(const char *name, const QByteArray &value) : name_(name) {
    if (qEnvironmentVariableIsSet(name)) {
      old_ = qgetenv(name);
    }
    qputenv(name, value);
  }
  ~EnvOverride() {
    if (old_) {
      qputenv(name_, *old_);
    } else {
      qunsetenv(name_);
    }
  }
  EnvOverride(const EnvOverride &) = delete;
  EnvOverride &operator=(const EnvOverride &) = delete;

private:
  const char *name_;
  std::optional<QByteArray> old_;
};

#ifdef Q_OS_UNIX

QEventLoop::ProcessEventsFlags allEvents() { return QEventLoop::AllEvents; }

QByteArray pathWith(const QString &first) { return QFile::encodeName(first) + ":" + qgetenv("PATH"); }

QString canonical(const QString &path) { return QFileInfo(path).canonicalFilePath(); }

QString writeScript(const TempDir &dir, const QString &name, const QByteArray &body) {
  const QString path = dir.write(name, "#!/bin/sh\n" + body);
  EXPECT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  return path;
}

// Every piece until the end; a child that never ends is cancelled after a
// while, so no test can hang here.
QList<QByteArray> readPieces(ChildProcess &child, qsizetype maxBytes = 4096) {
  QTimer guard;
  guard.setSingleShot(true);
  bool timedOut = false;
  QObject::connect(&guard, &QTimer::timeout, [&] {
    timedOut = true;
    child.cancel();
  });
  guard.start(10000);
  QList<QByteArray> pieces;
  for (QByteArray piece = child.nextErrorPiece(maxBytes, allEvents); !piece.isEmpty();
       piece = child.nextErrorPiece(maxBytes, allEvents)) {
    pieces.append(piece);
  }
  EXPECT_FALSE(timedOut) << "the child did not end";
  return pieces;
}

QByteArray readAll(ChildProcess &child) { return readPieces(child).join(); }

QByteArray runScript(const TempDir &dir, const QByteArray &body, const QStringList &arguments = {}) {
  const QString script = writeScript(dir, QStringLiteral("run.sh"), body);
  ChildProcess child;
  QString why;
  EXPECT_TRUE(child.start(script, arguments, why)) << why.toStdString();
  return readAll(child);
}

TEST(ChildProcess, ErrorOutputComesInPiecesWithNothingLostOrRepeated) {
  TempDir dir;
  QByteArray expected;
  for (int i = 0; i < 10000; ++i) {
    expected.append(char(i % 251));
  }
  dir.write(QStringLiteral("data.bin"), expected);
  const QString script =
      writeScript(dir, QStringLiteral("burst.sh"), "cat \"$(dirname \"$0\")/data.bin\" >&2\n");
  for (const qsizetype maxBytes : {qsizetype(4096), qsizetype(1000), qsizetype(7)}) {
    ChildProcess child;
    QString why;
    ASSERT_TRUE(child.start(script, {}, why)) << why.toStdString();
    const QList<QByteArray> pieces = readPieces(child, maxBytes);
    EXPECT_GE(pieces.size(), (expected.size() + maxBytes - 1) / maxBytes);
    for (const QByteArray &piece : pieces) {
      EXPECT_LE(piece.size(), maxBytes);
    }
    EXPECT_EQ(pieces.join(), expected) << "pieces of at most " << maxBytes;
    EXPECT_TRUE(child.exitedNormally());
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_FALSE(child.cancelled());
  }
}

TEST(ChildProcess, WarningsThenTheExitCode) {
  TempDir dir;
  for (const int code : {0, 3}) {
    const QString script =
        writeScript(dir, QStringLiteral("warn.sh"),
                    QByteArray("printf 'warning: line 10\\n' >&2\nprintf 'warning: line 20\\n' >&2\nexit ") +
                        QByteArray::number(code) + "\n");
    ChildProcess child;
    QString why;
    ASSERT_TRUE(child.start(script, {}, why)) << why.toStdString();
    EXPECT_EQ(readAll(child), QByteArray("warning: line 10\nwarning: line 20\n"));
    EXPECT_TRUE(child.exitedNormally());
    EXPECT_EQ(child.exitCode(), code);
    EXPECT_FALSE(child.cancelled());
    // The end stays the end.
    EXPECT_TRUE(child.nextErrorPiece(4096, allEvents).isEmpty());
  }
}

TEST(ChildProcess, ACrashIsNotANormalExit) {
  TempDir dir;
  const QString script =
      writeScript(dir, QStringLiteral("crash.sh"), "printf 'dying\\n' >&2\nkill -KILL $$\n");
  ChildProcess child;
  QString why;
  ASSERT_TRUE(child.start(script, {}, why)) << why.toStdString();
  EXPECT_EQ(readAll(child), QByteArray("dying\n"));
  EXPECT_FALSE(child.exitedNormally());
  EXPECT_FALSE(child.cancelled());
}

TEST(ChildProcess, AProgramThatCannotRunSaysWhy) {
  TempDir dir;
  const QString path = dir.write(QStringLiteral("not-executable"), "#!/bin/sh\nexit 0\n");
  ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
  ChildProcess child;
  QString why;
  EXPECT_FALSE(child.start(path, {}, why));
  EXPECT_TRUE(why.contains(QStringLiteral("起動できません"))) << why.toStdString();
  EXPECT_TRUE(why.contains(QStringLiteral("not-executable"))) << why.toStdString();
  EXPECT_FALSE(why.contains(u'\n'));
  EXPECT_TRUE(child.nextErrorPiece(4096, allEvents).isEmpty());
}

TEST(ChildProcess, CancelKillsAChildThatIgnoresTheRequest) {
  TempDir dir;
  // An ignored signal stays ignored across exec, so the sleep ignores it too.
  const QString script = writeScript(dir, QStringLiteral("stubborn.sh"),
                                     "trap '' TERM\nprintf 'started\\n' >&2\nexec sleep 30\n");
  ChildProcess child;
  QString why;
  ASSERT_TRUE(child.start(script, {}, why)) << why.toStdString();
  EXPECT_EQ(child.nextErrorPiece(4096, allEvents), QByteArray("started\n"));
  child.cancel();
  QElapsedTimer elapsed;
  elapsed.start();
  EXPECT_TRUE(child.nextErrorPiece(4096, allEvents).isEmpty());
  // Only a guard against a kill that never comes: the sleep would run on.
  EXPECT_LT(elapsed.elapsed(), 10000);
  EXPECT_FALSE(child.exitedNormally());
  EXPECT_TRUE(child.cancelled());
}

TEST(ChildProcess, CancelBeforeReadingStillDeliversWhatWasWritten) {
  TempDir dir;
  const QString script =
      writeScript(dir, QStringLiteral("hang.sh"), "printf 'started\\n' >&2\nexec sleep 30\n");
  ChildProcess child;
  QString why;
  ASSERT_TRUE(child.start(script, {}, why)) << why.toStdString();
  EXPECT_EQ(child.nextErrorPiece(4096, allEvents), QByteArray("started\n"));
  child.cancel();
  EXPECT_TRUE(readPieces(child).isEmpty());
  EXPECT_FALSE(child.exitedNormally());
  EXPECT_TRUE(child.cancelled());
}

TEST(ChildProcess, ADestroyedChildLeavesNothingRunning) {
  TempDir dir;
  const QString pidFile = dir.path(QStringLiteral("pid"));
  const QString script = writeScript(dir, QStringLiteral("hang.sh"), "echo $$ > \"$1\"\nexec sleep 30\n");
  QByteArray pid;
  {
    ChildProcess child;
    QString why;
    ASSERT_TRUE(child.start(script, {pidFile}, why)) << why.toStdString();
    QElapsedTimer elapsed;
    elapsed.start();
    while (pid.isEmpty() && elapsed.elapsed() < 10000) {
      QEventLoop().processEvents(QEventLoop::AllEvents, 50);
      QFile file(pidFile);
      if (file.open(QIODevice::ReadOnly)) {
        pid = file.readAll().trimmed();
      }
    }
    ASSERT_FALSE(pid.isEmpty());
  }
  // Gone and reaped: a zombie would still accept signal 0.
  bool ok = false;
  const pid_t id = pid_t(pid.toLongLong(&ok));
  ASSERT_TRUE(ok && id > 0) << pid.constData();
  EXPECT_EQ(::kill(id, 0), -1);
  EXPECT_EQ(errno, ESRCH);
}

TEST(ChildProcess, InheritsTheCurrentFolderAndTheEnvironment) {
  TempDir dir;
  TempDir work;
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(work.root()));
  const EnvOverride env("KAVRIN_CHILD_TEST", QByteArray("値 with space"));
  const QByteArray output = runScript(dir, "printf '%s|%s' \"$(pwd -P)\" \"$KAVRIN_CHILD_TEST\" >&2\n");
  QDir::setCurrent(before);
  EXPECT_EQ(output, QFile::encodeName(canonical(work.root())) + "|" + QByteArray("値 with space"));
}

TEST(ProgramLookup, ABareNameInTheOwnFolderWinsOverThePath) {
  TempDir own;
  TempDir onPath;
  const QString mine = writeScript(own, QStringLiteral("txt2bas"), "exit 0\n");
  writeScript(onPath, QStringLiteral("txt2bas"), "exit 0\n");
  const EnvOverride path("PATH", pathWith(onPath.root()));
  EXPECT_EQ(canonical(findProgram(QStringLiteral("txt2bas"), own.root())), canonical(mine));
}

TEST(ProgramLookup, ABareNameIsLookedUpOnThePath) {
  TempDir own;
  TempDir onPath;
  const QString there = writeScript(onPath, QStringLiteral("csave"), "exit 0\n");
  const EnvOverride path("PATH", pathWith(onPath.root()));
  const QString found = findProgram(QStringLiteral("csave"), own.root());
  EXPECT_FALSE(found.isEmpty());
  EXPECT_EQ(canonical(found), canonical(there));
}

TEST(ProgramLookup, AScriptRunsAsItIs) {
  TempDir dir;
  const QString script = writeScript(dir, QStringLiteral("conv.sh"), "exit 0\n");
  const Launch launch = launchFor(script, {QStringLiteral("a.txt"), QStringLiteral("b.cas")});
  EXPECT_TRUE(launch.error.isEmpty());
  EXPECT_EQ(launch.program, script);
  EXPECT_EQ(launch.arguments, (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.cas")}));
}

#endif // Q_OS_UNIX

TEST(ProgramLookup, AMissingBareNameIsFoundNowhere) {
  TempDir own;
  TempDir emptyDir;
  const EnvOverride path("PATH", QFile::encodeName(emptyDir.root()));
  EXPECT_TRUE(findProgram(QStringLiteral("kavrin-no-such-converter"), own.root()).isEmpty());
  EXPECT_TRUE(findProgram(QString(), own.root()).isEmpty());
}

TEST(ProgramLookup, ANameWithAFolderIsTakenAsGiven) {
  TempDir own;
  EXPECT_EQ(findProgram(QStringLiteral("tools/txt2bas.exe"), own.root()),
            QStringLiteral("tools/txt2bas.exe"));
  const QString absolute = own.path(QStringLiteral("missing/csave.exe"));
  EXPECT_EQ(findProgram(absolute, own.root()), absolute);
}

TEST(ProgramLookup, AMissingFileRunsAsItIs) {
  TempDir dir;
  const QString missing = dir.path(QStringLiteral("gone.exe"));
  const Launch launch = launchFor(missing, {QStringLiteral("a.txt")});
  EXPECT_TRUE(launch.error.isEmpty());
  EXPECT_EQ(launch.program, missing);
  EXPECT_EQ(launch.arguments, QStringList{QStringLiteral("a.txt")});
}

} // namespace
} // namespace kavrin
