#include "logic/auto_number.h"

#include "logic/line_number.h"

#include <QString>

namespace kavrin {

void autoNumberReturn(EditControl &edit, int increment) {
  constexpr int kMostDigits = 5;
  const int caret = edit.selStart();
  const int lineStart = edit.lineStart(caret);
  QString head;
  for (int pos = lineStart; pos < caret && pos - lineStart < kMostDigits; ++pos) {
    head += edit.charAt(pos);
  }
  // The number stands at the very start: a blank before it is typed text.
  const basic::LeadingNumber at = basic::findLeadingNumber(head, false, kMostDigits);
  const qint64 number = head.left(at.length).toLongLong();
  const qsizetype digits = at.length;
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
