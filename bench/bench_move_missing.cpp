// Moving many lines whose references all name a missing line: each such
// reference is checked against the moved lines' new numbers.
#include "figures.h"
#include "logic/move_lines.h"
#include "measure.h"

namespace kavrin::bench {

std::vector<Row> moveMissingFigures(const Workspace &) {
  constexpr int kLines = 40000;
  constexpr int kRuns = 7;
  QString program;
  for (int n = 1; n <= kLines; ++n) {
    program += QStringLiteral("%1 GOTO 65000\n").arg(n);
  }
  const basic::MoveRequest request{0, kLines - 1, 20000, 1};
  std::vector<double> ms;
  for (int i = 0; i < kRuns; ++i) {
    basic::MoveResult moved;
    ms.push_back(millisecondsOf([&] { moved = basic::moveLines(program, request, {}); }));
    if (!moved.error.isEmpty() || moved.lastLine - moved.firstLine + 1 != kLines) {
      throw Failure(QStringLiteral("moving lines failed: ") + moved.error);
    }
  }
  return {msRow(QStringLiteral("move %1 lines that each hold GOTO 65000").arg(kLines), ms, "move ms", 100)};
}

} // namespace kavrin::bench
