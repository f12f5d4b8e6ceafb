#include "logic/settings_file.h"

#include "logic/recovery.h"

#include <QCoreApplication>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>

namespace kavrin {

namespace {

// Only creating a file tells: Windows reports a folder writable by its
// read-only flag alone, whatever its permissions (Program Files).
bool canCreateFileIn(const QString &dir) {
  QTemporaryFile probe(QDir::fromNativeSeparators(dir) + QStringLiteral("kavrin-XXXXXX.tmp"));
  return probe.open();
}

} // namespace

QString settingsFilePath(const QString &exeDir) {
  const QString name = QStringLiteral("kavrin.ini");
  // A copy with its keyword lists beside it runs from its own folder; an
  // installed one (even run by root) keeps the settings per user.
  if (QFileInfo::exists(exeDir + QStringLiteral("qmcode.txt")) && canCreateFileIn(exeDir)) {
    return exeDir + name;
  }
  const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return QDir::toNativeSeparators(config + QStringLiteral("/kavrin/") + name);
}

ProgramPaths ProgramPaths::ofThisProgram() {
  const QString exeDir = QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + u'/');
  return {exeDir, settingsFilePath(exeDir), defaultRecoveryFolder()};
}

QRect keepOnScreen(const QRect &outer, const QList<QRect> &screens, const QRect &primary) {
  const bool visible =
      std::any_of(screens.begin(), screens.end(), [&outer](const QRect &s) { return s.intersects(outer); });
  if (visible || primary.isEmpty()) {
    return outer;
  }
  QRect placed(QPoint(), outer.size().boundedTo(primary.size()).expandedTo(QSize(1, 1)));
  placed.moveCenter(primary.center());
  return placed;
}

} // namespace kavrin
