// RETURN with AUTO on, for any text, selection and increment: only the selection
// changes, into a line break and maybe "<number> ", which the next RETURN reads.

#include "fuzz_text.h"

#include "logic/auto_number.h"
#include "support/text_buffer.h"

using namespace kavrin;

// Presses RETURN; gives the number it wrote, empty for none.
static QString pressReturn(testing::TextBuffer &edit, int increment) {
  const QString text = edit.text();
  const int caret = edit.selStart();
  const QStringView kept = QStringView(text).sliced(caret + edit.selLength());
  const QString line = text.left(caret).sliced(edit.lineStart(caret));
  autoNumberReturn(edit, increment);
  const qsizetype added = edit.text().size() - caret - kept.size();
  FUZZ_CHECK(added >= 1 && edit.text().startsWith(text.left(caret)) && edit.text().endsWith(kept));
  FUZZ_CHECK(edit.selStart() == caret + added && edit.selLength() == 0);
  // "\n", and "<number> " written in full exactly when the line starts with a digit.
  const QString inserted = edit.text().mid(caret, added);
  const QString number = inserted.mid(1, added - 2);
  const bool numbered = !line.isEmpty() && line[0] >= u'0' && line[0] <= u'9';
  FUZZ_CHECK(inserted.startsWith(u'\n') && numbered == (added > 1));
  FUZZ_CHECK(added == 1 || (inserted.endsWith(u' ') && QString::number(number.toLongLong()) == number));
  return number;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const int increment = in.ConsumeIntegral<int>();
  const int start = in.ConsumeIntegral<int>();
  const int length = in.ConsumeIntegral<int>();
  testing::TextBuffer edit(fuzz::consumeText(in, 1024));
  edit.select(start, length);
  const QString number = pressReturn(edit, increment);
  // The line RETURN numbered numbers the next; at most five digits count.
  if (!number.isEmpty() && !number.startsWith(u'-')) {
    FUZZ_CHECK(pressReturn(edit, increment) == QString::number(number.left(5).toLongLong() + increment));
  }
  return 0;
}
