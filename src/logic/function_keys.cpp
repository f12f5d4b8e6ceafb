#include "logic/function_keys.h"

#include "platform/cp932.h"

namespace kavrin {

std::array<QString, 10> defaultFunctionKeys() {
  return {QStringLiteral("COLOR "),  QStringLiteral("CLOAD\""), QStringLiteral("GOTO "),
          QStringLiteral("LIST "),   QStringLiteral("RUN\r\n"), QStringLiteral("SCREEN "),
          QStringLiteral("CSAVE\""), QStringLiteral("PRINT "),  QStringLiteral("PLAY "),
          QStringLiteral("CONT\r\n")};
}

std::array<QString, 10> defaultStoredFunctionKeys() {
  std::array<QString, 10> stored;
  const std::array<QString, 10> texts = defaultFunctionKeys();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    stored[i] = frameKeyText(convertKeyText(texts[i], true));
  }
  return stored;
}

QString convertKeyText(const QString &text, bool toMarker) {
  const QString marker = QStringLiteral("(ret)");
  const QString lineBreak = QStringLiteral("\r\n");
  const QString &pattern = toMarker ? lineBreak : marker;
  const QString &replacement = toMarker ? marker : lineBreak;
  QString result;
  result.reserve(text.size());
  qsizetype pos = 0;
  while (pos < text.size()) {
    if (QStringView(text).sliced(pos).startsWith(pattern)) {
      result += replacement;
      pos += pattern.size();
    } else {
      result += text[pos];
      ++pos;
    }
  }
  return result;
}

QString unframeKeyText(const QString &stored) {
  // The frame is one byte on each side, whatever the bytes are, so the cut
  // is made in the stored bytes.
  const QByteArray bytes = cp932::encode(stored).bytes;
  return bytes.size() < 3 ? QString()
                          : cp932::decodeVerbatim(QByteArrayView(bytes).sliced(1, bytes.size() - 2));
}

QString frameKeyText(const QString &text) { return u'.' + text + u'.'; }

int functionKeyIndex(int key, Qt::KeyboardModifiers modifiers) {
  if (key < Qt::Key_F1 || key > Qt::Key_F5 || (modifiers & Qt::AltModifier)) {
    return -1;
  }
  const int index = key - Qt::Key_F1;
  return (modifiers & Qt::ShiftModifier) ? index + 5 : index;
}

} // namespace kavrin
