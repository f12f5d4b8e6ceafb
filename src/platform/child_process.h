#pragma once

#include <QByteArray>
#include <QEventLoop>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QProcess;

namespace kavrin {

// A child program whose standard error is read in pieces while it runs.
// Its standard output and input are the editor's own; it runs with the
// editor's environment and current folder, and on Windows without a console
// window.
class ChildProcess {
public:
  ChildProcess();
  // A child still running is killed and reaped: nothing is left behind.
  ~ChildProcess();
  ChildProcess(const ChildProcess &) = delete;
  ChildProcess &operator=(const ChildProcess &) = delete;

  // Starts the program. False when it cannot be started; `why` then holds
  // one Japanese line that names the program and says why.
  bool start(const QString &program, const QStringList &arguments, QString &why);

  // The next piece of the child's error output, at most `maxBytes` bytes, in
  // the order written. Empty once the output has ended and the child has
  // exited (or was stopped, or never started). While waiting it runs a local
  // event loop; `flags` is asked before every round (at least every 100 ms)
  // which events that loop may process.
  QByteArray nextErrorPiece(qsizetype maxBytes, const std::function<QEventLoop::ProcessEventsFlags()> &flags);

  // Stops the child and every program it started: asks them to terminate,
  // and kills what is left of them as soon as the child has ended, or when
  // it has not ended within about a second. Safe from inside
  // nextErrorPiece's event loop; what output is left is still delivered,
  // then the end. On Linux and macOS the child runs in a process group of
  // its own, on Windows in a job object: cancel() and the destruction of a
  // child still running end the whole group (on Windows any destruction:
  // closing the job ends what is left in it). The group is signalled only
  // until the child is reaped, as its id may then be another's.
  void cancel();

  // After the end: whether the child exited by itself (not killed, crashed or
  // stopped by cancel()), and its exit code.
  bool exitedNormally() const;
  int exitCode() const;
  // Whether cancel() stopped it, or it crashed or was killed otherwise.
  bool cancelled() const { return cancelled_; }
  bool crashed() const;
  // The child has exited, was stopped, or never started.
  bool ended() const;

private:
  void stop();
  // Holds the started child's group; ends the group (force: at once).
  void holdGroup();
  void endGroup(bool force);
  void releaseGroup();
#ifndef Q_OS_WIN
  // Kills the group once the child has ended, before it is reaped.
  void killGroupAtChildsEnd();
#endif

  std::unique_ptr<QProcess> process_;
  bool cancelled_ = false;
  // The process group id (Linux, macOS) or the job handle (Windows), or 0.
  qintptr group_ = 0;
};

// Starts a program that runs on its own: the editor neither waits for it nor
// stops it.  False when it cannot be started; `why` then holds one Japanese
// line that names the program and says why.
bool startDetached(const QString &program, const QStringList &arguments, QString &why);

// The program to start for a configured converter: a bare file name is looked
// up in `ownDir` (the editor's folder) first, then on the PATH; a name that
// includes a folder is returned as given. Empty when a bare name is found
// nowhere.
QString findProgram(const QString &configured, const QString &ownDir);

// How to start a program. On Linux and macOS a Windows program (a file that
// starts with "MZ") runs through `wine` from the PATH; everything else, and
// everything on Windows, runs as it is.
struct Launch {
  QString program;
  QStringList arguments;
  QString error; // empty when it can be started
};
Launch launchFor(const QString &programPath, const QStringList &arguments);

} // namespace kavrin
