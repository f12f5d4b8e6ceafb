#include "widgets/font_styles.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace kavrin {
namespace {

// Font files name their styles in English; the dialog speaks Japanese.
constexpr std::pair<const char *, const char *> kStyleLabels[] = {
    {"regular", "標準"}, {"normal", "標準"},           {"book", "標準"},
    {"roman", "標準"},   {"italic", "斜体"},           {"oblique", "斜体"},
    {"bold", "太字"},    {"bold italic", "太字 斜体"}, {"bold oblique", "太字 斜体"},
};

QString styleLabel(const QString &name) {
  const QString folded = name.toCaseFolded();
  for (const auto &[english, japanese] : kStyleLabels) {
    if (folded == QLatin1String(english)) {
      return QString::fromUtf8(japanese);
    }
  }
  return name;
}

bool sameFace(const FontStyle &a, const FontStyle &b) { return a.weight == b.weight && a.italic == b.italic; }

} // namespace

std::vector<FontStyle> fontStyles(const QString &family) {
  std::vector<FontStyle> styles;
  for (const QString &style : QFontDatabase::styles(family)) {
    // Asked through a font, as QFontDatabase::italic() is false for oblique
    // faces.
    const QFont face = QFontDatabase::font(family, style, 12);
    const FontStyle found{style, face.weight(), face.style() != QFont::StyleNormal};
    // The font names no style, only weight and slant, so one entry stands
    // for each pair; the shortest name is the plain face ("Bold", not
    // "Condensed Bold").
    const auto same =
        std::find_if(styles.begin(), styles.end(), [&](const FontStyle &s) { return sameFace(s, found); });
    if (same == styles.end()) {
      styles.push_back(found);
    } else if (found.name.size() < same->name.size()) {
      same->name = found.name;
    }
  }
  for (FontStyle &style : styles) {
    style.name = styleLabel(style.name);
  }
  // Qt draws bold and italic for any font, as Windows does, so these four
  // are always offered.
  const FontStyle basic[] = {{QStringLiteral("標準"), QFont::Normal, false},
                             {QStringLiteral("斜体"), QFont::Normal, true},
                             {QStringLiteral("太字"), QFont::Bold, false},
                             {QStringLiteral("太字 斜体"), QFont::Bold, true}};
  for (const FontStyle &style : basic) {
    if (std::none_of(styles.begin(), styles.end(), [&](const FontStyle &s) { return sameFace(s, style); })) {
      styles.push_back(style);
    }
  }
  std::stable_sort(styles.begin(), styles.end(), [](const FontStyle &a, const FontStyle &b) {
    return a.weight != b.weight ? a.weight < b.weight : a.italic < b.italic;
  });
  return styles;
}

int nearestStyle(const std::vector<FontStyle> &styles, int weight, bool italic) {
  int best = -1;
  int bestDistance = 0;
  for (std::size_t i = 0; i < styles.size(); ++i) {
    const int distance = std::abs(styles[i].weight - weight) + (styles[i].italic == italic ? 0 : 10000);
    if (best < 0 || distance < bestDistance) {
      best = static_cast<int>(i);
      bestDistance = distance;
    }
  }
  return best;
}

} // namespace kavrin
