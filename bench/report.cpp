#include "report.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kavrin::bench {
namespace {

bool verbose = false;

} // namespace

QString fixed(double value, int decimals) { return QString::number(value, 'f', decimals); }

QString verdict(double measured, double limit, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::round(measured * scale) / scale <= limit ? QStringLiteral("ok") : QStringLiteral("over");
}

void setVerbose(bool on) { verbose = on; }

void note(const QString &text) {
  if (verbose) {
    std::fprintf(stderr, "kavrin_bench:   %s\n", text.toUtf8().constData());
  }
}

void dump(const QString &what, const std::vector<double> &values, int decimals) {
  if (!verbose) {
    return;
  }
  QStringList shown;
  for (const double value : values) {
    shown << fixed(value, decimals);
  }
  note(what + QStringLiteral(": ") + shown.join(u' '));
}

void progress(const char *what) {
  std::fprintf(stderr, "kavrin_bench: %s\n", what);
  std::fflush(stderr);
}

void printTable(const std::vector<Row> &rows) {
  const Row head{QStringLiteral("figure"), QStringLiteral("target"), QStringLiteral("measured"),
                 QStringLiteral("verdict")};
  qsizetype widths[3] = {head.figure.size(), head.target.size(), head.measured.size()};
  for (const Row &row : rows) {
    widths[0] = std::max(widths[0], row.figure.size());
    widths[1] = std::max(widths[1], row.target.size());
    widths[2] = std::max(widths[2], row.measured.size());
  }
  const auto line = [&](const Row &row) {
    const QString text = QStringLiteral("%1 | %2 | %3 | %4\n")
                             .arg(row.figure.leftJustified(widths[0]), row.target.leftJustified(widths[1]),
                                  row.measured.leftJustified(widths[2]), row.verdict);
    std::fputs(text.toUtf8().constData(), stdout);
  };
  line(head);
  std::fputs(QStringLiteral("%1-|-%2-|-%3-|-%4\n")
                 .arg(QString(widths[0], u'-'), QString(widths[1], u'-'), QString(widths[2], u'-'),
                      QString(head.verdict.size(), u'-'))
                 .toUtf8()
                 .constData(),
             stdout);
  for (const Row &row : rows) {
    line(row);
  }
}

} // namespace kavrin::bench
