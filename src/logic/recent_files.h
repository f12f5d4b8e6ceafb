#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kavrin {

inline constexpr int kRecentCount = 4;

// Puts `path` at the top of the list of four: an equal entry (see samePath)
// moves up and takes the new spelling, otherwise the last entry drops off.
void addRecent(QStringList &recent, const QString &path);

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
