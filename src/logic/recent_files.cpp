#include "logic/recent_files.h"

#include "platform/paths.h"

namespace kavrin {

void addRecent(QStringList &recent, const QString &path) {
  while (recent.size() < kRecentCount) {
    recent.append(QString());
  }
  qsizetype found = kRecentCount - 1;
  for (qsizetype i = 0; i < recent.size(); ++i) {
    if (samePath(recent[i], path)) {
      found = i;
      break;
    }
  }
  recent.removeAt(found);
  recent.insert(0, path);
  while (recent.size() > kRecentCount) {
    recent.removeLast();
  }
}

RecentMenuItem recentMenuItem(int index, const QString &path) {
  RecentMenuItem item;
  if (!path.isEmpty()) {
    item.visible = true;
    item.enabled = true;
    // An "&" in a file name is shown, not taken as an access key.
    QString name = nativeFileNamePart(path);
    name.replace(u'&', QLatin1String("&&"));
    item.caption = QStringLiteral("&%1 %2").arg(index + 1).arg(name);
  } else if (index == 0) {
    item.visible = true;
    item.enabled = false;
    item.caption = QStringLiteral("最近使ったファイル");
  }
  return item;
}

QString documentTitle(const QString &fileName) {
  if (fileName.isEmpty()) {
    return QStringLiteral("kavrin");
  }
  return nativeFileNamePart(fileName) + QStringLiteral(" - kavrin");
}

} // namespace kavrin
