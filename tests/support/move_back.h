#pragma once

#include "logic/basic_reader.h"
#include "logic/move_lines.h"

#include <optional>

namespace kavrin::testing {

// The program lines a request chose in `text`, and how to ask for them
// back: one request, as the editor asks, when their numbers rise by one
// step and they stand together after the move.
struct MovedBack {
  // The chosen lines moved to the numbers they had: the text as moving
  // back should give it (numbers without leading zeros).
  basic::MoveResult same;
  basic::MoveResult back;
};

inline std::optional<MovedBack> moveBack(QStringView text, const basic::MoveRequest &request,
                                         const basic::MoveResult &moved) {
  using namespace basic;
  std::vector<LineNumber> numbers;
  const TextLines lines = splitLines(text);
  for (int i = request.firstLine; i <= request.lastLine && i < static_cast<int>(lines.lines.size()); ++i) {
    if (const ProgramLine line = readLineNumber(lines.lines[static_cast<std::size_t>(i)]); line.isProgram) {
      numbers.push_back(line.number);
    }
  }
  if (numbers.empty() || numbers.back().exceeds(kLargestLineNumber) || numbers.front().value() < 1) {
    return std::nullopt;
  }
  const quint64 step = numbers.size() > 1 ? numbers[1].value() - numbers[0].value() : 1;
  int together = 0;
  const TextLines after = splitLines(moved.text);
  for (int i = moved.firstLine; i <= moved.lastLine; ++i) {
    together += readLineNumber(after.lines[static_cast<std::size_t>(i)]).isProgram ? 1 : 0;
  }
  for (std::size_t k = 1; k < numbers.size(); ++k) {
    if (numbers[k].value() - numbers[k - 1].value() != step) {
      return std::nullopt;
    }
  }
  if (together != static_cast<int>(numbers.size())) {
    return std::nullopt;
  }
  const int start = static_cast<int>(numbers.front().value());
  return MovedBack{moveLines(text, {request.firstLine, request.lastLine, start, static_cast<int>(step)}),
                   moveLines(moved.text, {moved.firstLine, moved.lastLine, start, static_cast<int>(step)})};
}

} // namespace kavrin::testing
