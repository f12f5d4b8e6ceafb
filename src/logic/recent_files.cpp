#include "logic/recent_files.h"

#include "logic/settings_table.h"
#include "platform/paths.h"

#include <algorithm>

namespace kavrin {
namespace {

// `list` without the entries of `taken`.
QStringList without(const QStringList &list, const QStringList &taken) {
  QStringList rest;
  for (const QString &entry : list) {
    // Empty slots stay where they are.
    if (entry.isEmpty() ||
        std::none_of(taken.begin(), taken.end(), [&](const QString &t) { return samePath(t, entry); })) {
      rest << entry;
    }
  }
  return rest;
}

bool sameList(const QStringList &a, const QStringList &b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), samePath);
}

// The list to write when this editor's list went from `kept` to `mine` while
// the file came to hold `file`.
QStringList mergedRecent(const QStringList &mine, const QStringList &kept, const QStringList &file) {
  // The shortest top of `mine` that, taken out of both lists, leaves them in
  // the same order: what the opens here put there.
  qsizetype top = 0;
  for (; top < mine.size(); ++top) {
    const QStringList rest = mine.mid(top);
    const QStringList keptRest = without(kept, mine.first(top));
    if (sameList(rest, keptRest.first(std::min(rest.size(), keptRest.size())))) {
      break;
    }
  }
  // setRecent keeps the first four.
  return mine.first(top) + without(file, mine.first(top));
}

} // namespace

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

QStringList recentOf(const SettingValues &values) {
  QStringList recent;
  for (int i = 0; i < kRecentCount; ++i) {
    recent << values.text(recentSetting(i));
  }
  return recent;
}

void setRecent(SettingValues &values, const QStringList &recent) {
  for (int i = 0; i < kRecentCount; ++i) {
    values.set(recentSetting(i), recent.value(i));
  }
}

void mergeRecent(SettingValues &values, SettingValues &since, const SettingValues &file) {
  setRecent(values, mergedRecent(recentOf(values), recentOf(since), recentOf(file)));
  setRecent(since, recentOf(file));
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
