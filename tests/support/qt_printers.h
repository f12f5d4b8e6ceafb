#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

// Readable Qt strings in test failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

inline void PrintTo(const QStringList &list, std::ostream *os) {
  *os << '{';
  for (qsizetype i = 0; i < list.size(); ++i) {
    *os << (i > 0 ? ", " : "") << '"' << list[i].toStdString() << '"';
  }
  *os << '}';
}
