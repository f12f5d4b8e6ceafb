#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable Qt strings in test failure messages.  Every test file sees these
// (the test build includes this header first), so that one printer is used
// throughout a test program.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

inline void PrintTo(const QStringList &list, std::ostream *os) {
  *os << '{';
  for (qsizetype i = 0; i < list.size(); ++i) {
    *os << (i > 0 ? ", " : "") << '"' << list[i].toStdString() << '"';
  }
  *os << '}';
}

inline void PrintTo(const QByteArray &bytes, std::ostream *os) {
  *os << '"' << bytes.toPercentEncoding(" ").toStdString() << '"';
}
