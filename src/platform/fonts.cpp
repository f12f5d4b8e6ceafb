#include "platform/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace kavrin {
namespace {

void substitute(const QStringList &names, const QStringList &candidates) {
  for (const QString &name : names) {
    if (QFontDatabase::hasFamily(name)) {
      continue;
    }
    QStringList installed;
    for (const QString &candidate : candidates) {
      if (QFontDatabase::hasFamily(candidate)) {
        installed << candidate;
      }
    }
    if (!installed.isEmpty()) {
      QFont::insertSubstitutions(name, installed);
    }
  }
}

} // namespace

void installJapaneseFontSubstitutes() {
  substitute({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic")},
             {QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
              QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("Takao Gothic"),
              QStringLiteral("TakaoGothic"), QStringLiteral("VL Gothic"), QStringLiteral("Osaka−等幅"),
              QStringLiteral("Osaka-Mono"), QStringLiteral("MS Gothic")});
  substitute({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic")},
             {QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans CJK JP"),
              QStringLiteral("Takao PGothic"), QStringLiteral("TakaoPGothic"), QStringLiteral("VL PGothic"),
              QStringLiteral("Hiragino Sans"), QStringLiteral("Osaka"), QStringLiteral("Yu Gothic UI"),
              QStringLiteral("MS PGothic")});
}

} // namespace kavrin
