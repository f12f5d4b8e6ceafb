// Renumbering any program: only digits change, lines stay where they are,
// the renumbered lines count up as asked, those after a range keep theirs,
// every LIST or DELETE range and bound of ERL covers the same lines, and
// doing it again changes nothing.

#include "fuzz_ranges.h"
#include "fuzz_text.h"

#include "logic/basic_reader.h"
#include "logic/renumber.h"

#include <set>

using namespace kavrin;
using namespace kavrin::basic;

namespace {

const char16_t *const kWords[] = {
    u" GOTO ", u"GOSUB",  u" THEN ",      u"ELSE",           u"RESUME ", u"RESTORE", u"IF ERL=",
    u"LIST ",  u"DELETE", u"ON X GOSUB ", u"ON ERROR GOTO ", u"go to",   u"RUN",     u"REM ",
    u"'",      u"DATA ",  u"\"",          u"PRINT",          u"IF ERL>", u"<=ERL",
};

// A number as written: mostly near the line numbers, some of more digits
// than an integer holds.
QString consumeNumber(FuzzedDataProvider &in) {
  if (in.ConsumeIntegralInRange(0, 7) == 0) {
    return QString::number(in.ConsumeIntegral<std::uint64_t>()) +
           QString::number(in.ConsumeIntegralInRange(0, 999));
  }
  return QString::number(in.ConsumeIntegralInRange(0, 70000));
}

// BASIC-like text: line starts, numbers (some with leading zeros), keywords,
// punctuation, and any other UTF-16 unit.
QString consumeProgram(FuzzedDataProvider &in) {
  QString text;
  while (in.remaining_bytes() > 0 && text.size() < 4096) {
    switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0:
      text += u'\n';
      [[fallthrough]];
    case 1: {
      const int zeros = in.ConsumeIntegralInRange(-8, 2);
      text += QString(std::max(zeros, 0), u'0') + consumeNumber(in);
      break;
    }
    case 2:
      text += QStringView(kWords[in.ConsumeIntegralInRange<size_t>(0, std::size(kWords) - 1)]);
      break;
    case 3:
      text += QChar(u",-:= \r\t"[in.ConsumeIntegralInRange(0, 6)]);
      break;
    default:
      text += QChar(in.ConsumeIntegral<std::uint16_t>());
      break;
    }
  }
  return text;
}

QString withoutDigits(QString text) {
  text.removeIf([](QChar c) { return c >= u'0' && c <= u'9'; });
  return text;
}

// The lines of `before` and `after` are alike but for the numbers.
void checkLines(const QString &before, const RenumberResult &result, const RenumberRequest &request) {
  const TextLines in = splitLines(before);
  const TextLines out = splitLines(result.text);
  FUZZ_CHECK(in.lines.size() == out.lines.size() && in.endsWithBreak == out.endsWithBreak);
  FUZZ_CHECK(withoutDigits(before) == withoutDigits(result.text));
  std::set<LineNumber> numbers;
  bool inRange = false;
  qint64 next = request.newStart;
  for (size_t i = 0; i < in.lines.size(); ++i) {
    const ProgramLine a = readLine(in.lines[i], {});
    const ProgramLine b = readLine(out.lines[i], {});
    FUZZ_CHECK(a.isProgram == b.isProgram && a.references.size() == b.references.size());
    if (!a.isProgram) {
      continue;
    }
    numbers.insert(a.number);
    inRange = inRange || !request.oldStart || a.number >= *request.oldStart;
    const bool renumbered = inRange && (!request.oldEnd || a.number <= *request.oldEnd);
    FUZZ_CHECK(b.number == (renumbered ? LineNumber(static_cast<quint64>(next)) : a.number));
    next += renumbered ? request.increment : 0;
  }
  FUZZ_CHECK(result.renumbered == (next - request.newStart) / request.increment);
  for (const MissingReference &m : result.missing) {
    FUZZ_CHECK(!numbers.contains(m.target));
  }
  kavrin::fuzz::checkRangesKept(before, result.text, [](size_t i) { return i; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  RenumberRequest request;
  request.newStart = in.ConsumeIntegralInRange(-1, 1000);
  request.increment = in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange(-1, 100);
  if (in.ConsumeBool()) {
    request.oldStart = LineNumber::fromDigits(consumeNumber(in));
  }
  if (in.ConsumeBool()) {
    request.oldEnd = LineNumber::fromDigits(consumeNumber(in));
  }
  const QString text = consumeProgram(in);
  const RenumberResult result = renumber(text, request, {});
  FUZZ_CHECK(result.error.isEmpty() == (result.refusal == RenumberRefusal::None));
  if (!result.error.isEmpty()) {
    FUZZ_CHECK(result.text.isEmpty() && result.missing.empty() && result.retargeted.empty() &&
               result.renumbered == 0);
    return 0;
  }
  checkLines(text, result, request);
  FUZZ_CHECK(!renumberReport(result).isEmpty());
  // Again from the first new number.  A missing reference that now names a
  // new line is found, and only loses leading zeros.
  RenumberRequest again{
      request.newStart, request.increment, LineNumber(static_cast<quint64>(request.newStart)), {}};
  if (request.oldEnd) {
    again.oldEnd = LineNumber(
        static_cast<quint64>(request.newStart + qint64(request.increment) * (result.renumbered - 1)));
  }
  const RenumberResult second = renumber(result.text, again, {});
  FUZZ_CHECK(second.error.isEmpty() && second.renumbered == result.renumbered && second.retargeted.empty());
  const QString third = renumber(second.text, again, {}).text;
  FUZZ_CHECK(third == second.text);
  FUZZ_CHECK(second.text == result.text || !result.retargeted.empty());
  return 0;
}
