#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

namespace kavrin::bench {

// An Xvfb of the benchmark's own, on a display it chooses itself, its log in
// a private folder.  It is stopped when this object goes, and by the system
// if the benchmark dies first.
class PrivateXServer {
public:
  // Whether Xvfb can be found on the PATH.
  static bool available();

  // Starts the server and waits until it takes connections; throws Failure
  // when it does not.
  PrivateXServer();
  ~PrivateXServer();
  PrivateXServer(const PrivateXServer &) = delete;
  PrivateXServer &operator=(const PrivateXServer &) = delete;

  // ":N".
  const QString &display() const { return display_; }
  // This process's environment with Qt's windows on this server, through xcb.
  QProcessEnvironment environment() const;

private:
  void stop();

  QTemporaryDir folder_;
  QProcess server_;
  QString display_;
};

} // namespace kavrin::bench
