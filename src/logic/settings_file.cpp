#include "logic/settings_file.h"

#include "logic/recovery.h"

#include <QCoreApplication>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace kavrin {

QString settingsFilePath(const QString &exeDir) {
  const QString name = QStringLiteral("kavrin.ini");
  // A copy with its keyword lists beside it runs from its own folder; an
  // installed one (even run by root) keeps the settings per user.
  if (QFileInfo(exeDir).isWritable() && QFileInfo::exists(exeDir + QStringLiteral("qmcode.txt"))) {
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
