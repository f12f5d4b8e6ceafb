#include "platform/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QStringList>

namespace kavrin {
namespace {

// Qt turns to the substitutes only when the family itself is missing, and
// skips those that are missing too; asking the font database first would
// cost start-up time for nothing.
void substitute(const QStringList &names, const QStringList &candidates) {
  for (const QString &name : names) {
    QFont::insertSubstitutions(name, candidates);
  }
}

} // namespace

void installJapaneseFontSubstitutes() {
  // The Windows fonts under their English names come first; a Windows
  // without the Japanese supplemental fonts may still have BIZ UDGothic, and
  // has Consolas at least, which keeps the columns of a program in line.
  substitute({QStringLiteral("ＭＳ ゴシック")},
             {QStringLiteral("MS Gothic"), QStringLiteral("BIZ UDGothic"), QStringLiteral("IPAGothic"),
              QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
              QStringLiteral("TakaoGothic"), QStringLiteral("VL Gothic"), QStringLiteral("Osaka-Mono"),
              QStringLiteral("Consolas")});
  substitute({QStringLiteral("ＭＳ Ｐゴシック")},
             {QStringLiteral("MS PGothic"), QStringLiteral("BIZ UDPGothic"), QStringLiteral("IPAPGothic"),
              QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans CJK JP"),
              QStringLiteral("TakaoPGothic"), QStringLiteral("VL PGothic"), QStringLiteral("Hiragino Sans"),
              QStringLiteral("Osaka"), QStringLiteral("Yu Gothic UI")});
}

QString installedFamily(const QString &family) {
  // One look at the family list: asking hasFamily() about a missing family
  // makes Qt collect every font's localised names first.
  // Substitutes come back in small letters; the list's own spelling is the
  // one to show.
  static const QHash<QString, QString> installed = [] {
    QHash<QString, QString> names;
    for (const QString &name : QFontDatabase::families()) {
      names.insert(name.toCaseFolded(), name);
    }
    return names;
  }();
  if (installed.contains(family.toCaseFolded())) {
    return family;
  }
  for (const QString &candidate : QFont::substitutes(family)) {
    const auto found = installed.constFind(candidate.toCaseFolded());
    if (found != installed.constEnd()) {
      return *found;
    }
  }
  return family;
}

QFont pixelFont(const QString &family, int pixels) {
  QFont font(installedFamily(family));
  font.setPixelSize(pixels);
  return font;
}

QFont windowFont() { return pixelFont(QStringLiteral("ＭＳ Ｐゴシック"), 12); }

QFont editorDesignFont() { return pixelFont(QStringLiteral("ＭＳ ゴシック"), 13); }

} // namespace kavrin
