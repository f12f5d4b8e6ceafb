#include "logic/check_fixes.h"

namespace kavrin::basic {
namespace {

// The ASCII form of a full-width character, or the character itself.
QChar halfWidth(QChar c) {
  if (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E) {
    return QChar(static_cast<char16_t>(c.unicode() - 0xFF01 + 0x21));
  }
  return c == QChar(0x3000) ? QChar(u' ') : c;
}

// Whether the text ends with a keyword after which the line is not read as
// a program: REM or DATA (their letters as the machine reads them).
bool endsInComment(const QString &text) {
  return text.endsWith(u"REM", Qt::CaseInsensitive) || text.endsWith(u"DATA", Qt::CaseInsensitive);
}

QString fixFullWidth(QStringView line) {
  QString out;
  out.reserve(line.size());
  bool inString = false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar c = inString ? line[i] : halfWidth(line[i]);
    if (!inString && c == u'\'') {
      return out.append(line.mid(i));
    }
    out += c;
    if (c == u'"') {
      inString = !inString;
    } else if (!inString && endsInComment(out)) {
      return out.append(line.mid(i + 1));
    }
  }
  return out;
}

} // namespace

bool hasFix(CheckRule rule) { return rule == CheckRule::FullWidth || rule == CheckRule::YenOverline; }

QString fixLine(QStringView line, CheckRule rule) {
  if (rule == CheckRule::FullWidth) {
    return fixFullWidth(line);
  }
  QString out = line.toString();
  if (rule == CheckRule::YenOverline) {
    out.replace(QChar(0x00A5), u'\\').replace(QChar(0x203E), u'~');
  }
  return out;
}

} // namespace kavrin::basic
