#include "logic/keyword_list.h"

#include "platform/cp932.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFileInfo>

namespace kavrin {

QStringList parseKeywordList(QByteArrayView bytes) {
  const qsizetype nul = bytes.indexOf('\0');
  if (nul >= 0) {
    bytes = bytes.first(nul);
  }
  const QString text = cp932::decode(bytes);
  if (text.isEmpty()) {
    return {};
  }
  QStringList entries = text.split(u'\n');
  if (text.endsWith(u'\n')) {
    entries.removeLast(); // a final line break ends the last entry, nothing more
  }
  return entries;
}

QString keywordFilePath(const QString &exeDir, const QString &fileName) {
  const QString beside = exeDir + fileName;
  QStringList candidates{beside, QDir::cleanPath(exeDir + QStringLiteral("../share/kavrin/") + fileName)};
#ifdef KAVRIN_DATADIR
  candidates << QStringLiteral(KAVRIN_DATADIR "/") + fileName;
#endif
  for (const QString &path : candidates) {
    if (QFileInfo(path).isFile()) {
      return QDir::toNativeSeparators(path);
    }
  }
  return beside;
}

QStringList loadKeywordList(const QString &path) { return parseKeywordList(readFileBytes(path)); }

} // namespace kavrin
