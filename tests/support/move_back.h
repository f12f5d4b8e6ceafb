#pragma once

#include "logic/basic_reader.h"
#include "logic/move_lines.h"

#include <optional>

namespace kavrin::testing {

// The request that moves the program lines `request` chose in `text` back
// where they were, when one request can, as the editor asks: when their
// numbers rise by one step and the move left them together.
inline std::optional<basic::MoveRequest> moveBack(QStringView text, const basic::MoveRequest &request,
                                                  const basic::MoveResult &moved) {
  std::vector<quint64> numbers;
  const basic::TextLines lines = basic::splitLines(text);
  for (int i = request.firstLine; i <= std::min<int>(request.lastLine, int(lines.lines.size()) - 1); ++i) {
    if (const basic::ProgramLine line = basic::readLineNumber(lines.lines[size_t(i)]); line.isProgram) {
      numbers.push_back(line.number.exceeds(basic::kLargestLineNumber) ? 0 : line.number.value());
    }
  }
  if (numbers.empty()) {
    return std::nullopt;
  }
  const quint64 step = numbers.size() > 1 ? numbers[1] - numbers[0] : 1;
  const basic::TextLines after = basic::splitLines(moved.text);
  std::size_t together = 0;
  for (int i = moved.firstLine; i <= moved.lastLine; ++i) {
    together += basic::readLineNumber(after.lines[size_t(i)]).isProgram ? 1 : 0;
  }
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    if (numbers[k] == 0 || numbers[k] != numbers[0] + step * k || together != numbers.size()) {
      return std::nullopt;
    }
  }
  return basic::MoveRequest{moved.firstLine, moved.lastLine, int(numbers[0]), int(step)};
}

} // namespace kavrin::testing
