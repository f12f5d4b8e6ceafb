// RETURN with AUTO on, at any text, selection and increment: the selection
// becomes a line break and perhaps "<number> ", nothing else changes, and a
// line that RETURN numbered is read back for the next.

#include "fuzz_text.h"

#include "editing/auto_number.h"
#include "support/text_buffer.h"

#include <cstddef>
#include <cstdint>

namespace {

using namespace kavrin;

// Presses RETURN; gives the number it wrote, empty for none.
QString pressReturn(testing::TextBuffer &edit, int increment) {
  const QString text = edit.text();
  const int caret = edit.selStart();
  const QStringView kept = QStringView(text).sliced(caret + edit.selLength());
  const int lineStart = edit.lineStart(caret);
  autoNumberReturn(edit, increment);
  const qsizetype added = edit.text().size() - caret - kept.size();
  FUZZ_CHECK(added >= 1 && edit.text().startsWith(text.left(caret)) && edit.text().endsWith(kept));
  FUZZ_CHECK(edit.selStart() == caret + added && edit.selLength() == 0 && edit.text()[caret] == u'\n');
  // A number exactly when the line starts with a digit, written in full.
  const QChar first = lineStart < caret ? text[lineStart] : QChar();
  FUZZ_CHECK((first >= u'0' && first <= u'9') == (added > 1));
  const QString number = added > 1 ? edit.text().mid(caret + 1, added - 2) : QString();
  FUZZ_CHECK(added == 1 ||
             (QString::number(number.toLongLong()) == number && edit.text()[caret + added - 1] == u' '));
  return number;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const int increment = in.ConsumeIntegral<int>();
  const int start = in.ConsumeIntegral<int>();
  const int length = in.ConsumeIntegral<int>();
  testing::TextBuffer edit(fuzz::consumeText(in, 1024));
  edit.select(start, length);
  const QString number = pressReturn(edit, increment);
  const QString next = pressReturn(edit, increment);
  // At most its first five digits count.
  if (!number.isEmpty() && !number.startsWith(u'-')) {
    FUZZ_CHECK(next == QString::number(number.left(5).toLongLong() + increment));
  }
  return 0;
}
