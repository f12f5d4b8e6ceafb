// Moving lines of any program: nothing but the numbers changes, and only
// their places; no reference is left naming a line that moved away; every
// LIST or DELETE range and every bound of ERL covers the same lines; the
// program stays in order; and moving the lines back restores it.

#include "fuzz_ranges.h"
#include "fuzz_text.h"

#include "logic/basic_reader.h"
#include "logic/move_lines.h"

#include <algorithm>
#include <optional>
#include <set>

using namespace kavrin;
using namespace kavrin::basic;

namespace {

const char16_t *const kWords[] = {u" GOTO ",   u"GOSUB ",  u" THEN ",  u"ELSE ",   u"RESUME ",
                                  u"RESTORE ", u"IF ERL=", u"LIST ",   u"-",       u"ON X GOTO ",
                                  u",",        u":",       u"REM ",    u"'",       u"DATA ",
                                  u"\"",       u"PRINT ",  u"DELETE ", u"IF ERL<", u">=ERL"};

// A program mostly in order: rising line numbers (some with leading zeros,
// some above the largest the machine takes or of more digits than an
// integer holds, now and then one out of order), lines without a number,
// and references to lines that are there or not.
QString consumeProgram(FuzzedDataProvider &in) {
  QString text;
  std::vector<QString> numbers;
  quint64 number = 0;
  bool longNumbers = false;
  while (in.remaining_bytes() > 0 && text.size() < 4096) {
    switch (in.ConsumeIntegralInRange(0, 6)) {
    case 0:
      number += in.ConsumeIntegralInRange(0, 40) == 0 ? 70000 : in.ConsumeIntegralInRange(0, 40);
      longNumbers = longNumbers || in.ConsumeIntegralInRange(0, 200) == 0;
      numbers.push_back(longNumbers ? u'1' + QString::number(number).rightJustified(21, u'0')
                                    : QString::number(number));
      text += u'\n' + QString(std::max(in.ConsumeIntegralInRange(-4, 2), 0), u'0') + numbers.back() + u' ';
      break;
    case 1:
      text += in.ConsumeBool() ? QStringLiteral("\n' x") : QStringLiteral("\n");
      break;
    case 2:
    case 3:
      text += QStringView(kWords[in.ConsumeIntegralInRange<size_t>(0, std::size(kWords) - 1)]);
      [[fallthrough]];
    case 4:
      text += numbers.empty() || in.ConsumeBool()
                  ? QString::number(in.ConsumeIntegralInRange<quint64>(0, number + 50))
                  : numbers[in.ConsumeIntegralInRange<size_t>(0, numbers.size() - 1)];
      break;
    default:
      text += QChar(in.ConsumeIntegral<std::uint16_t>());
      break;
    }
  }
  return text;
}

// A line without the digits of its number and its references.
QString withoutNumbers(QStringView line) {
  const ProgramLine read = readLine(line, {});
  QString rest = line.toString();
  for (auto ref = read.references.rbegin(); ref != read.references.rend(); ++ref) {
    rest.remove(ref->start, ref->length);
  }
  return rest.remove(read.numberStart, read.numberLength);
}

struct Read {
  std::vector<QString> stripped; // sorted, without numbers
  std::set<LineNumber> numbers;
  std::vector<LineNumber> targets;
  bool inOrder = true;
  std::vector<LineNumber> rangeEnds;
};

Read readProgram(QStringView text) {
  Read read;
  std::optional<LineNumber> last;
  // Every piece between breaks: a text that ends in an empty line moved
  // elsewhere ends in a break instead.
  for (const QStringView piece : text.split(u'\n')) {
    read.stripped.push_back(withoutNumbers(piece));
  }
  for (const QStringView line : splitLines(text).lines) {
    const ProgramLine program = readLine(line, {});
    if (program.isProgram) {
      read.inOrder = read.inOrder && (!last || *last < program.number);
      read.numbers.insert(program.number);
      last = program.number;
    }
    // A range end may come to name no line (checkRangesKept judges it).
    for (const LineReference &ref : program.references) {
      (ref.range == RangeEnd::None ? read.targets : read.rangeEnds).push_back(ref.target);
    }
  }
  std::sort(read.stripped.begin(), read.stripped.end());
  return read;
}

QString withoutLeadingZeros(QStringView text) {
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'0' || i + 1 == text.size() || !isDigit(text[i + 1]) ||
        (!out.isEmpty() && isDigit(out.back()))) {
      out += text[i];
    }
  }
  return out;
}

// Moving back gives the text again, but for leading zeros dropped from the
// moved lines' numbers, the references to them and range ends.  One
// request moves them back, as the editor asks, when their numbers `from`
// rose by one step and the move left them together.
void checkMovingBack(const QString &text, const Read &before, const MoveRequest &request,
                     const MoveResult &result, const std::vector<LineNumber> &from,
                     const std::vector<LineNumber> &movedTo) {
  // An empty line that a move left last reads as the text's final break,
  // which stays last.
  const TextLines after = splitLines(result.text);
  if (splitLines(text).lines.size() != after.lines.size()) {
    return;
  }
  // A reference to a missing line that the move gave a number follows it
  // back.
  for (const LineNumber &to : movedTo) {
    if (!before.numbers.contains(to) &&
        std::find(before.targets.begin(), before.targets.end(), to) != before.targets.end()) {
      return;
    }
  }
  const quint64 step = from.size() > 1 ? from[1].value() - from[0].value() : 1;
  std::size_t together = 0;
  for (int i = result.firstLine; i <= result.lastLine; ++i) {
    together += readLineNumber(after.lines.at(i)).isProgram ? 1 : 0;
  }
  for (std::size_t k = 0; k < from.size(); ++k) {
    if (from[k].exceeds(kLargestLineNumber) || from[0].value() == 0 ||
        from[k].value() != from[0].value() + step * k || together != from.size()) {
      return;
    }
  }
  const MoveRequest back{result.firstLine, result.lastLine, int(from[0].value()), int(step)};
  const MoveRequest same{request.firstLine, request.lastLine, back.newStart, back.increment};
  const MoveResult moved = moveLines(result.text, back, {});
  FUZZ_CHECK(moved.error.isEmpty() &&
             withoutLeadingZeros(moved.text) == withoutLeadingZeros(moveLines(text, same, {}).text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  MoveRequest request;
  request.firstLine = in.ConsumeIntegralInRange(0, 40);
  request.lastLine = in.ConsumeIntegralInRange(0, 40);
  request.newStart = in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange(-1, 2000);
  request.increment = in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange(-1, 50);
  const QString text = consumeProgram(in);
  const MoveResult result = moveLines(text, request, {});
  const Read before = readProgram(text);
  FUZZ_CHECK(result.error.isEmpty() == (result.refusal == MoveRefusal::None));
  FUZZ_CHECK((result.refusal == MoveRefusal::OutOfOrder) ==
             (result.refusal != MoveRefusal::BadValue && result.refusal != MoveRefusal::NothingToMove &&
              !before.inOrder));
  if (!result.error.isEmpty()) {
    FUZZ_CHECK(result.text.isEmpty());
    return 0;
  }
  const Read after = readProgram(result.text);
  FUZZ_CHECK(after.stripped == before.stripped && after.inOrder);
  // The lines asked for, numbered as asked, and no other line renumbered.
  const TextLines lines = splitLines(text);
  const TextLines newLines = splitLines(result.text);
  std::set<LineNumber> expected = before.numbers;
  std::vector<LineNumber> from, movedTo;
  for (int i = request.firstLine; i <= request.lastLine && i < static_cast<int>(lines.lines.size()); ++i) {
    if (const ProgramLine line = readLineNumber(lines.lines[i]); line.isProgram) {
      movedTo.emplace_back(
          static_cast<quint64>(request.newStart + request.increment * static_cast<int>(movedTo.size())));
      FUZZ_CHECK(readLineNumber(newLines.lines.at(result.newLineOf.at(i))).number == movedTo.back());
      expected.erase(line.number);
      from.push_back(line.number);
    }
  }
  FUZZ_CHECK(!movedTo.empty());
  expected.insert(movedTo.begin(), movedTo.end());
  FUZZ_CHECK(after.numbers == expected);
  FUZZ_CHECK(readLineNumber(newLines.lines.at(result.firstLine)).number == movedTo.front());
  FUZZ_CHECK(result.lastLine >= result.firstLine && result.lastLine < static_cast<int>(lines.lines.size()));
  for (const LineNumber &target : after.targets) {
    FUZZ_CHECK(!before.numbers.contains(target) || after.numbers.contains(target));
  }
  kavrin::fuzz::checkRangesKept(text, result.text, [&](size_t i) { return size_t(result.newLineOf.at(i)); });
  // A range end that names no line may not come back as written.
  if (std::all_of(before.rangeEnds.begin(), before.rangeEnds.end(),
                  [&](const LineNumber &end) { return before.numbers.contains(end); })) {
    checkMovingBack(text, before, request, result, from, movedTo);
  }
  return 0;
}
