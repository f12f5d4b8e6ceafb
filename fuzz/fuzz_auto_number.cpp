// RETURN with AUTO on: for any text, selection and increment the result is
// the text with the selection replaced by a line break and the next number,
// worked out here on its own.

#include "fuzz_text.h"

#include "editing/auto_number.h"
#include "support/text_buffer.h"

#include <cstddef>
#include <cstdint>

namespace {

using namespace kavrin;

// What RETURN inserts at `caret`: at most five digits open the line.
QString expectedInsert(const QString &text, int caret, int increment) {
  qsizetype start = caret;
  while (start > 0 && text[start - 1] != u'\n') {
    --start;
  }
  std::int64_t number = 0;
  int digits = 0;
  for (qsizetype i = start; i < caret && digits < 5 && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    number = number * 10 + (text[i].unicode() - u'0');
    ++digits;
  }
  if (digits == 0) {
    return QStringLiteral("\n");
  }
  return u'\n' + QString::fromStdString(std::to_string(number + increment)) + u' ';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const int increment = in.ConsumeIntegral<int>();
  const int start = in.ConsumeIntegral<int>();
  const int length = in.ConsumeIntegral<int>();
  const QString text = fuzz::consumeText(in, 1024);

  testing::TextBuffer edit(text);
  edit.select(start, length);
  const int caret = edit.selStart();
  const int selected = edit.selLength();
  FUZZ_CHECK(caret >= 0 && selected >= 0 && caret + selected <= text.size());

  autoNumberReturn(edit, increment);
  const QString inserted = expectedInsert(text, caret, increment);
  FUZZ_CHECK(edit.text() == text.left(caret) + inserted + text.mid(caret + selected));
  FUZZ_CHECK(edit.selStart() == caret + inserted.size() && edit.selLength() == 0);
  return 0;
}
