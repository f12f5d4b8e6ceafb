#include "logic/auto_number.h"

#include <QString>

namespace kavrin {

void autoNumberReturn(EditControl &edit, int increment) {
  const int caret = edit.selStart();
  const int lineStart = edit.lineStart(caret);
  qint64 number = 0;
  int digits = 0;
  for (int pos = lineStart; pos < caret && digits < 5; ++pos) {
    const QChar c = edit.charAt(pos);
    if (c < u'0' || c > u'9') {
      break;
    }
    number = number * 10 + (c.unicode() - u'0');
    ++digits;
  }
  // One replacement, so that one undo takes the whole RETURN back.  Five
  // digits plus any 32-bit increment fit in 64 bits: the sum is written in
  // full, never wrapped.
  QString inserted = QStringLiteral("\n");
  if (digits > 0) {
    inserted += QString::number(number + increment) + u' ';
  }
  edit.setSelText(inserted);
}

} // namespace kavrin
