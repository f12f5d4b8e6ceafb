// Keyword lists and TAB completion: any list, text and key sequence keeps
// the selection inside the text, shows an entry's tail exactly as the
// selection, and keeps the cycle's index within its run.

#include "fuzz_text.h"

#include "editing/completion.h"
#include "editing/keyword_list.h"
#include "support/text_buffer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

using namespace kavrin;

// Refuses a selection outside the text instead of clamping it, so that the
// completion code is caught asking for one.
class StrictBuffer : public testing::TextBuffer {
public:
  using TextBuffer::TextBuffer;

  void setSelStart(int pos) override {
    FUZZ_CHECK(pos >= 0 && pos <= textLength());
    TextBuffer::setSelStart(pos);
  }
  void setSelLength(int length) override {
    FUZZ_CHECK(length >= 0 && selStart() + length <= textLength());
    TextBuffer::setSelLength(length);
  }
};

// The text with the selection taken out.
QString outside(const StrictBuffer &edit) {
  return edit.text().left(edit.selStart()) + edit.text().mid(edit.selStart() + edit.selLength());
}

void checkList(QByteArrayView bytes, const QStringList &list) {
  const qsizetype nul = bytes.indexOf('\0');
  const QString text = cp932::decode(nul >= 0 ? bytes.first(nul) : bytes);
  QString joined = list.join(u'\n');
  if (!list.isEmpty() && text.endsWith(u'\n')) {
    joined += u'\n';
  }
  FUZZ_CHECK(joined == text);
}

struct Session {
  const QStringList &keywords;
  StrictBuffer edit;
  CompletionState state;
  // At the first TAB of a cycle: the text less its selection, and where that was.
  QString base;
  QString textAtStart;
  int baseCaret = 0;

  void check() const {
    FUZZ_CHECK(edit.selStart() >= 0 && edit.selLength() >= 0);
    FUZZ_CHECK(edit.selStart() + edit.selLength() <= edit.textLength());
    const int index = state.CompIndex;
    FUZZ_CHECK(index == CompletionState::kNoMatch ||
               (index >= state.CompFirst - 1 && index <= state.CompEnd));
    if (!state.CompActive) {
      return;
    }
    if (index == CompletionState::kNoMatch) {
      FUZZ_CHECK(edit.text() == textAtStart);
      return;
    }
    FUZZ_CHECK(state.CompFirst >= 0 && state.CompFirst < state.CompEnd && state.CompEnd <= keywords.size());
    FUZZ_CHECK(edit.selStart() == baseCaret && outside(edit) == base);
    // The typed letters stand before the caret.
    const qsizetype typed = state.CompPrefix.size();
    FUZZ_CHECK(typed <= edit.selStart());
    FUZZ_CHECK(edit.text().mid(edit.selStart() - typed, typed).toUpper() == state.CompPrefix);
    for (int k = state.CompFirst; k < state.CompEnd; ++k) {
      FUZZ_CHECK(keywords[k].startsWith(state.CompPrefix));
    }
    if (index >= state.CompFirst && index < state.CompEnd) {
      FUZZ_CHECK(edit.selText() == keywords[index].mid(typed));
    } else {
      FUZZ_CHECK(edit.selLength() == 0);
    }
  }

  void tab(bool backwards) {
    if (!state.CompActive) {
      base = outside(edit);
      textAtStart = edit.text();
      baseCaret = edit.selStart();
    }
    (void)completeKeyword(edit, keywords, backwards, state);
  }

  // A key that is not TAB goes down, then does what it does in the editor.
  void key(int qtKey, const QString &typed) {
    endCompletionOnKey(edit, state, qtKey);
    if (qtKey == Qt::Key_Backspace) {
      if (edit.selLength() == 0 && edit.selStart() > 0) {
        const int caret = edit.selStart();
        edit.setSelStart(caret - 1);
        edit.setSelLength(1);
      }
      edit.setSelText(QString());
    } else if (!typed.isEmpty()) {
      edit.setSelText(typed);
    }
  }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const QByteArray listBytes = fuzz::consumeBytes(in, 2048);
  const QStringList keywords = parseKeywordList(listBytes);
  checkList(listBytes, keywords);

  Session s{keywords, StrictBuffer(fuzz::consumeText(in)), {}, {}, {}, 0};
  s.edit.setSelStart(in.ConsumeIntegralInRange(0, s.edit.textLength()));
  s.edit.setSelLength(in.ConsumeIntegralInRange(0, std::min(8, s.edit.textLength() - s.edit.selStart())));
  s.check();
  for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
    switch (in.ConsumeIntegralInRange(0, 9)) {
    case 0:
    case 1:
    case 2:
      s.tab(false);
      break;
    case 3:
      s.tab(true);
      break;
    case 4:
      s.key(Qt::Key_Backspace, {});
      break;
    case 5:
      s.key(Qt::Key_Escape, {});
      break;
    case 6:
      s.key(Qt::Key_Shift, {});
      break;
    case 7: {
      // A letter, or any character, typed.
      const char16_t u = in.ConsumeBool() ? static_cast<char16_t>(u'A' + in.ConsumeIntegralInRange(0, 25))
                                          : in.ConsumeIntegral<char16_t>();
      s.key(u >= u'A' && u <= u'Z' ? Qt::Key_A + (u - u'A') : Qt::Key_unknown, QString(QChar(u)));
      break;
    }
    case 8: {
      // An arrow key, then the caret or selection put elsewhere.
      s.key(Qt::Key_Left, {});
      s.edit.setSelStart(in.ConsumeIntegralInRange(0, s.edit.textLength()));
      s.edit.setSelLength(in.ConsumeIntegralInRange(0, s.edit.textLength() - s.edit.selStart()));
      break;
    }
    default:
      // Text pasted from the list's own words.
      s.key(Qt::Key_V, keywords.isEmpty()
                           ? QString()
                           : keywords[in.ConsumeIntegralInRange<int>(0, keywords.size() - 1)].toLower());
      break;
    }
    s.check();
  }
  return 0;
}
