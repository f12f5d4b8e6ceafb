#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kavrin {

class SettingValues;

inline constexpr int kRecentCount = 4;

// Puts `path` at the top of the list of four: an equal entry (see samePath)
// moves up and takes the new spelling, otherwise the last entry drops off.
void addRecent(QStringList &recent, const QString &path);

QStringList recentOf(const SettingValues &values);
void setRecent(SettingValues &values, const QStringList &recent);

// Readies `values` to be written over the settings file holding `file`, with
// `since` as last read or written here.  The recent keys are one list, merged
// as a whole: the entries the opens here put on top since, then the file's
// list without them; with no change here, the file's list stands.
void mergeRecent(SettingValues &values, SettingValues &since, const SettingValues &file);

struct RecentMenuItem {
  bool visible = false;
  bool enabled = false;
  // Absent when the item keeps the caption it had.
  std::optional<QString> caption;
};

// How menu item `index` (0-3) shows the entry `path`.
RecentMenuItem recentMenuItem(int index, const QString &path);

// The window title for a document path, empty for an untitled document.
QString documentTitle(const QString &fileName);

} // namespace kavrin
