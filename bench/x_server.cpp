#include "x_server.h"

#include "measure.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#ifdef Q_OS_LINUX
#include <csignal>

#include <sys/prctl.h>
#endif

namespace kavrin::bench {
namespace {

constexpr int kStartTimeoutMs = 15'000;
constexpr int kStopTimeoutMs = 5'000;

QString logText(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()).trimmed() : QString();
}

} // namespace

bool PrivateXServer::available() { return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty(); }

PrivateXServer::PrivateXServer() : folder_(QDir::temp().filePath(QStringLiteral("kavrin-bench-x-XXXXXX"))) {
  if (!folder_.isValid()) {
    throw Failure(QStringLiteral("no folder for Xvfb: ") + folder_.errorString());
  }
  const QString log = folder_.filePath(QStringLiteral("Xvfb.log"));
  server_.setProgram(QStringLiteral("Xvfb"));
  // -displayfd 1: Xvfb takes a free display and writes its number on standard
  // output once it takes connections.
  server_.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                        QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp"), QStringLiteral("-noreset")});
  server_.setWorkingDirectory(folder_.path());
  server_.setStandardInputFile(QProcess::nullDevice());
  server_.setStandardErrorFile(log);
#ifdef Q_OS_LINUX
  // Should the benchmark die without its destructors, the server goes too.
  server_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
  server_.start();
  const QDeadlineTimer deadline(kStartTimeoutMs);
  server_.waitForStarted(kStartTimeoutMs);
  while (!server_.canReadLine() && server_.state() == QProcess::Running && !deadline.hasExpired()) {
    server_.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
  }
  const QByteArray number = server_.readLine().trimmed();
  if (number.isEmpty()) {
    stop();
    throw Failure(QStringLiteral("Xvfb did not start: %1").arg(logText(log)));
  }
  display_ = u':' + QString::fromLatin1(number);
}

PrivateXServer::~PrivateXServer() { stop(); }

void PrivateXServer::stop() {
  if (server_.state() == QProcess::NotRunning) {
    return;
  }
  server_.terminate();
  if (!server_.waitForFinished(kStopTimeoutMs)) {
    server_.kill();
    server_.waitForFinished(kStopTimeoutMs);
  }
}

QProcessEnvironment PrivateXServer::environment() const {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("WAYLAND_DISPLAY"));
  env.insert(QStringLiteral("DISPLAY"), display_);
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  return env;
}

} // namespace kavrin::bench
