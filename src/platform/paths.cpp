#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

namespace kavrin {

QString nativeFileNamePart(const QString &path) {
#ifdef Q_OS_WIN
  qsizetype cut = -1;
  for (const QChar sep : {u'\\', u'/', u':'}) {
    cut = std::max(cut, path.lastIndexOf(sep));
  }
#else
  const qsizetype cut = path.lastIndexOf(u'/');
#endif
  return path.mid(cut + 1);
}

QString programFileNamePart(const QString &path) {
  // Windows takes "/" as well, and Qt's file dialogs give it.
  return path.mid(std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/')) + 1);
}

bool samePath(const QString &a, const QString &b) {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
  return a.compare(b, Qt::CaseInsensitive) == 0;
#else
  return a == b;
#endif
}

bool sameFile(const QString &a, const QString &b) {
  const QFileInfo one(a);
  const QFileInfo other(b);
  if (one.exists() && other.exists()) {
    return one == other;
  }
  return samePath(QDir::cleanPath(one.absoluteFilePath()), QDir::cleanPath(other.absoluteFilePath()));
}

} // namespace kavrin
