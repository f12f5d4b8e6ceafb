#include "platform/child_process.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <QEvent>
#include <QSocketNotifier>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace kavrin {

namespace {

// Starting only means the exec succeeded, so this is a guard, not a wait.
constexpr int startTimeoutMs = 30000;
// How long a cancelled child gets to end by itself before it is killed.
constexpr int killDelayMs = 1000;
// Bounds the reaping of a killed child so that nothing waits forever.
constexpr int reapTimeoutMs = 5000;
// How often the caller is asked again which events to process.
constexpr int roundMs = 100;

// QProcess looks a bare name up on the PATH itself; check the same place so
// that a missing program gets its own message instead of exec's wording.
bool findMissing(const QString &program, QString &why) {
  const bool found = nativeFileNamePart(program) == program
                         ? !QStandardPaths::findExecutable(program).isEmpty()
                         : QFileInfo::exists(program);
  if (program.isEmpty() || !found) {
    why = QStringLiteral("プログラムが見つかりません: ") + QDir::toNativeSeparators(program);
    return true;
  }
  return false;
}

QString cannotStart(const QString &program, const QString &reason) {
  return QStringLiteral("プログラムを起動できません: %1 (%2)")
      .arg(QDir::toNativeSeparators(program), reason.simplified());
}

} // namespace

ChildProcess::ChildProcess() = default;

ChildProcess::~ChildProcess() { stop(); }

bool ChildProcess::start(const QString &program, const QStringList &arguments, QString &why) {
  stop();
  cancelled_ = false;
  why.clear();

  if (findMissing(program, why)) {
    return false;
  }

  auto process = std::make_unique<QProcess>();
  process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
  process->setInputChannelMode(QProcess::ForwardedInputChannel);
  process->setReadChannel(QProcess::StandardError);
#ifdef Q_OS_WIN
  // A console converter would otherwise flash a console window of its own.
  // It starts suspended and runs only once it is in its job, so that nothing
  // it starts at once escapes the job. QProcess fills in the thread when the
  // process is made, within start().
  PROCESS_INFORMATION *created = nullptr;
  process->setCreateProcessArgumentsModifier([&created](QProcess::CreateProcessArguments *args) {
    args->flags |= CREATE_NO_WINDOW | CREATE_SUSPENDED;
    created = args->processInformation;
  });
#else
  // A group of its own, so that a cancel reaches what the child starts; in a
  // session of its own, so that no terminal stops it as a background job.
  process->setChildProcessModifier([] { ::setsid(); });
#endif
  process->start(program, arguments);
  if (!process->waitForStarted(startTimeoutMs)) {
    why = cannotStart(program, process->errorString());
    if (process->state() != QProcess::NotRunning) {
      process->kill();
      process->waitForFinished(reapTimeoutMs);
    }
    return false;
  }
  process_ = std::move(process);
  holdGroup();
#ifdef Q_OS_WIN
  // With or without its job, the child has to run.
  if (ResumeThread(created->hThread) == static_cast<DWORD>(-1)) {
    why = cannotStart(program, qt_error_string());
    stop();
    return false;
  }
#endif
  return true;
}

QByteArray ChildProcess::nextErrorPiece(qsizetype maxBytes,
                                        const std::function<QEventLoop::ProcessEventsFlags()> &flags) {
  if (!process_) {
    return {};
  }
  // An empty piece means the end, so never ask for nothing.
  maxBytes = std::max<qsizetype>(maxBytes, 1);
  for (;;) {
    // QProcess drains the pipe before it reports the exit, so once it is not
    // running its buffer holds everything that is left.
    if (process_->bytesAvailable() > 0) {
      return process_->read(maxBytes);
    }
    if (ended()) {
      return {};
    }
    QEventLoop loop;
    QTimer round;
    round.setSingleShot(true);
    QObject::connect(&round, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(process_.get(), &QProcess::readyReadStandardError, &loop, &QEventLoop::quit);
    QObject::connect(process_.get(), &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(process_.get(), &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    const QEventLoop::ProcessEventsFlags allowed = flags ? flags() : QEventLoop::AllEvents;
    round.start(roundMs);
    loop.exec(allowed);
  }
}

void ChildProcess::cancel() {
  if (ended() || cancelled_) {
    return;
  }
  cancelled_ = true;
  endGroup(false);
  process_->terminate();
#ifndef Q_OS_WIN
  killGroupAtChildsEnd();
#endif
  // Windows console programs ignore terminate(); the timer dies with the
  // process object, so it never touches a later run.
  QProcess *process = process_.get();
  QTimer::singleShot(killDelayMs, process, [this, process] {
    endGroup(true);
    if (process->state() != QProcess::NotRunning) {
      process->kill();
    }
  });
}

bool ChildProcess::crashed() const {
  return process_ && ended() && process_->exitStatus() == QProcess::CrashExit && !cancelled_;
}

bool ChildProcess::exitedNormally() const {
  return process_ && ended() && process_->exitStatus() == QProcess::NormalExit && !cancelled_;
}

int ChildProcess::exitCode() const { return process_ ? process_->exitCode() : -1; }

bool ChildProcess::ended() const { return !process_ || process_->state() == QProcess::NotRunning; }

void ChildProcess::stop() {
  if (process_ && process_->state() != QProcess::NotRunning) {
    endGroup(true); // before the kill below lets the child be reaped
    process_->kill();
    process_->waitForFinished(reapTimeoutMs);
  }
  releaseGroup();
  process_.reset();
}

#ifdef Q_OS_WIN

// The child is still suspended: whatever it starts is in the job too.
void ChildProcess::holdGroup() {
  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (job == nullptr) {
    return;
  }
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  HANDLE child =
      OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, static_cast<DWORD>(process_->processId()));
  const bool held = child != nullptr &&
                    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits,
                                            static_cast<DWORD>(sizeof limits)) &&
                    AssignProcessToJobObject(job, child);
  if (child != nullptr) {
    CloseHandle(child);
  }
  if (!held) {
    CloseHandle(job);
    return;
  }
  group_ = reinterpret_cast<qintptr>(job);
}

// A job cannot be asked to end: both end it at once.
void ChildProcess::endGroup(bool /*force*/) {
  if (group_ != 0) {
    TerminateJobObject(reinterpret_cast<HANDLE>(group_), 1);
  }
}

// Closing the last handle kills what is left in the job.
void ChildProcess::releaseGroup() {
  if (group_ != 0) {
    CloseHandle(reinterpret_cast<HANDLE>(group_));
    group_ = 0;
  }
}

#else

// The child made itself the leader of its session and group before its program ran.
void ChildProcess::holdGroup() { group_ = static_cast<qintptr>(process_->processId()); }

namespace {

enum class Child { Running, Ended, Reaped };

// Until the child is reaped its id, the group's, is no one else's.
Child childState(pid_t child) {
  siginfo_t info{};
  int options = WEXITED | WNOHANG | WNOWAIT;
#ifdef __WALL
  options |= __WALL; // whatever signal the child was cloned to send its parent
#endif
  if (::waitid(P_PID, static_cast<id_t>(child), &info, options) != 0) {
    return Child::Reaped;
  }
  return info.si_pid == child ? Child::Ended : Child::Running;
}

// QProcess reaps its child only from this thread's event loop, when the
// socket notifier it keeps on the child's end fires (a poll of our own could
// lose that race): `act` runs first, each time one of its notifiers fires.
class BeforeReaping : public QObject {
public:
  BeforeReaping(QProcess &process, std::function<void()> act) : QObject(&process), act_(std::move(act)) {
    for (QSocketNotifier *notifier : process.findChildren<QSocketNotifier *>()) {
      notifier->installEventFilter(this);
    }
  }

  bool eventFilter(QObject * /*watched*/, QEvent *event) override {
    if (event->type() == QEvent::SockAct) {
      act_();
    }
    return false;
  }

private:
  std::function<void()> act_;
};

} // namespace

// The group outlives its leader while any program of it runs, but once the
// leader is reaped and the rest has ended, its id may be another group's:
// the group is signalled only before the reaping.
void ChildProcess::endGroup(bool force) {
  const auto group = static_cast<pid_t>(group_);
  if (group > 0 && childState(group) != Child::Reaped) {
    ::kill(-group, force ? SIGKILL : SIGTERM);
  }
}

// A child that ends by the request to terminate is reaped as soon as the
// event loop sees it end, so the last kill, for what it started that ignores
// the request, goes right before that, while the child's id is the group's.
void ChildProcess::killGroupAtChildsEnd() {
  const auto group = static_cast<pid_t>(group_);
  new BeforeReaping(*process_, [this, group, killed = false]() mutable {
    if (!killed && childState(group) == Child::Ended) {
      killed = true;
      endGroup(true);
    }
  });
}

void ChildProcess::releaseGroup() { group_ = 0; }

#endif

bool startDetached(const QString &program, const QStringList &arguments, QString &why) {
  why.clear();
  if (findMissing(program, why)) {
    return false;
  }
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  if (!process.startDetached()) {
    why = cannotStart(program, process.errorString());
    return false;
  }
  return true;
}

QString findProgram(const QString &configured, const QString &ownDir) {
  if (configured.isEmpty()) {
    return {};
  }
  if (nativeFileNamePart(configured) != configured) {
    return configured;
  }
  if (!ownDir.isEmpty()) {
    const QString own = QDir(ownDir).filePath(configured);
    if (QFileInfo(own).isFile()) {
      return own;
    }
  }
  return QStandardPaths::findExecutable(configured);
}

Launch launchFor(const QString &programPath, const QStringList &arguments) {
  Launch launch{programPath, arguments, {}};
#ifndef Q_OS_WIN
  QFile file(programPath);
  if (file.open(QIODevice::ReadOnly) && file.read(2) == "MZ") {
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    if (wine.isEmpty()) {
      launch.error = QStringLiteral("Windows 用のプログラムを実行するには wine が必要です。");
      return launch;
    }
    launch.program = wine;
    launch.arguments = QStringList{programPath} + arguments;
  }
#endif
  return launch;
}

} // namespace kavrin
