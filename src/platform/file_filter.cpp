#include "platform/file_filter.h"

namespace kavrin {

QStringList qtNameFilters(const QString &filter) {
  QStringList result;
  const QStringList parts = filter.split(u'|');
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    QStringList masks;
    for (const QString &mask : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
      masks << (mask.trimmed() == u"*.*" ? QStringLiteral("*") : mask.trimmed());
    }
    // Qt reads the masks from the last parenthesised group of the entry, so
    // a description that shows its own group gets it replaced.
    const qsizetype open = description.lastIndexOf(u'(');
    if (description.endsWith(u')') && open >= 0) {
      const QString shown = description.mid(open + 1, description.size() - open - 2);
      if (shown.compare(masks.join(u' '), Qt::CaseInsensitive) == 0) {
        masks = shown.split(u' ');
      }
      description.truncate(open);
      description = description.trimmed();
    }
    result << QStringLiteral("%1 (%2)").arg(description, masks.join(u' '));
  }
  return result;
}

} // namespace kavrin
