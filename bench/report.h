#pragma once

#include <QString>

#include <vector>

namespace kavrin::bench {

// One line of the printed table.
struct Row {
  QString figure;
  QString target;
  QString measured;
  QString verdict;
};

QString fixed(double value, int decimals);

// "ok" or "over", judged on `measured` as printed with `decimals`, so that
// the table never contradicts itself.
QString verdict(double measured, double limit, int decimals);

// With --verbose, notes and every sample go to standard error, for telling
// noise from a real change.
void setVerbose(bool on);
void note(const QString &text);
void dump(const QString &what, const std::vector<double> &values, int decimals = 2);

// Which part of the run is going on, always on standard error.
void progress(const char *what);

void printTable(const std::vector<Row> &rows);

} // namespace kavrin::bench
