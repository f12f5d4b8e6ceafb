// Peak resident memory of a child process that shows kavrin's window.
#include "children.h"
#include "figures.h"
#include "measure.h"

namespace kavrin::bench {
namespace {

QString peakMemoryOf(const QStringList &args) {
  const QByteArray out = runChild(args).output.trimmed();
  if (!out.startsWith("peak-kib ")) {
    throw Failure(QStringLiteral("memory child printed \"%1\"").arg(QString::fromLocal8Bit(out)));
  }
  bool ok = false;
  const long long kib = out.mid(9).toLongLong(&ok);
  return ok ? QStringLiteral("%1 MiB").arg(fixed(static_cast<double>(kib) / 1024.0, 1))
            : QStringLiteral("n/a");
}

} // namespace

std::vector<Row> memoryFigures(const Workspace &work) {
  const QString &iniFile = work.settings.none;
  return {{QStringLiteral("peak memory, window started"), QStringLiteral("-"),
           peakMemoryOf({QStringLiteral("--memory"), iniFile}), QStringLiteral("-")},
          {QStringLiteral("peak memory, window started + 4 MiB loaded"), QStringLiteral("-"),
           peakMemoryOf({QStringLiteral("--memory"), iniFile, work.samplePath}), QStringLiteral("-")}};
}

} // namespace kavrin::bench
