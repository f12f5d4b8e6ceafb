#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kavrin::testing {

class TempDir {
public:
  TempDir() { EXPECT_TRUE(dir_.isValid()); }

  QString root() const { return dir_.path(); }

  QString path(const QString &name) const { return QDir(dir_.path()).filePath(name); }

  QString write(const QString &name, const QByteArray &bytes) const {
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path(name);
  }

  // The test converter (support/test_converter.cpp) copied in as `name`,
  // to follow `script`, its .do file.
  QString converter(const QString &name, const QByteArray &script = {}) const {
    if (!QFile::exists(path(name))) {
      QDir().mkpath(QFileInfo(path(name)).path());
      const QString exe = QSysInfo::productType() == u"windows" ? QStringLiteral(".exe") : QString();
      EXPECT_TRUE(QFile::copy(QCoreApplication::applicationDirPath() + "/test_converter" + exe, path(name)));
    }
    write(name + ".do", script);
    return path(name);
  }

  QByteArray read(const QString &name) const {
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
  }

private:
  QTemporaryDir dir_;
};

} // namespace kavrin::testing
