// Keyword lists read back as their lines.  Over any text and keys, TAB shows
// an entry's tail as exactly the selection and leaves the rest of the text.

#include "fuzz_text.h"

#include "logic/completion.h"
#include "logic/keyword_list.h"
#include "support/text_buffer.h"

using namespace kavrin;

// Refuses a selection outside the text instead of clamping it.
struct StrictBuffer : testing::TextBuffer {
  using TextBuffer::TextBuffer;
  void setSelStart(int pos) override {
    FUZZ_CHECK(pos >= 0 && pos <= textLength());
    TextBuffer::setSelStart(pos);
  }
  void setSelLength(int length) override {
    FUZZ_CHECK(length >= 0 && selStart() + length <= textLength());
    TextBuffer::setSelLength(length);
  }
  QString outside() const { return QString(text()).remove(selStart(), selLength()); }
};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const QByteArray listBytes = QByteArray::fromStdString(in.ConsumeRandomLengthString(2048));
  const QStringList keywords = parseKeywordList(listBytes);
  const QString listText = cp932::decode(listBytes.split('\0').constFirst());
  FUZZ_CHECK(keywords.join(u'\n') == (listText.endsWith(u'\n') ? listText.chopped(1) : listText));

  StrictBuffer edit(fuzz::consumeText(in));
  CompletionState s;
  QString base; // at the cycle's first TAB: the text less its selection
  int caret = 0;
  while (in.remaining_bytes() > 0) {
    if (!s.CompActive) {
      base = edit.outside();
      caret = edit.selStart();
    }
    const int action = in.ConsumeIntegralInRange(0, 8);
    if (action < 4) { // TAB, one in four with Shift
      (void)completeKeyword(edit, keywords, action == 3, s);
    } else {
      const int keys[] = {Qt::Key_Backspace, Qt::Key_Escape, Qt::Key_Shift, Qt::Key_A, Qt::Key_Left};
      endCompletionOnKey(edit, s, keys[action - 4]);
      if (action == 4 || action == 7) { // the selection taken out, or an entry's start typed
        const QString entry = keywords.value(in.ConsumeIntegralInRange<int>(0, keywords.size()));
        edit.setSelText(action == 4 ? QString() : entry.left(in.ConsumeIntegralInRange(0, 9)).toLower());
      } else if (action == 8) { // the caret or selection put elsewhere
        const int at = in.ConsumeIntegralInRange(0, edit.textLength());
        edit.select(at, in.ConsumeIntegralInRange(0, edit.textLength() - at));
      }
    }
    if (s.CompActive && s.CompIndex != CompletionState::kNoMatch) {
      FUZZ_CHECK(s.CompFirst >= 0 && s.CompFirst < s.CompEnd && s.CompEnd <= keywords.size() &&
                 s.CompIndex >= s.CompFirst - 1 && s.CompIndex <= s.CompEnd);
      const qsizetype typed = s.CompPrefix.size();
      FUZZ_CHECK(typed <= caret && edit.text().mid(caret - typed, typed).toUpper() == s.CompPrefix);
      const bool shown = s.CompIndex >= s.CompFirst && s.CompIndex < s.CompEnd;
      FUZZ_CHECK(shown ? keywords[s.CompIndex].startsWith(s.CompPrefix) &&
                             edit.selText() == keywords[s.CompIndex].mid(typed)
                       : edit.selText().isEmpty());
    }
    FUZZ_CHECK(!s.CompActive || (edit.selStart() == caret && edit.outside() == base));
  }
  return 0;
}
