#include "logic/keyword_palette.h"

#include <algorithm>
#include <cmath>

namespace kavrin {
namespace {

// What the keyword colours keep, and the least the plain text may have.
constexpr double kLeastContrast = 4.5;
constexpr double kLeastTextContrast = 3.0;

double linear(int channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &color) {
  const QColor rgb = color.toRgb();
  return 0.2126 * linear(rgb.red()) + 0.7152 * linear(rgb.green()) + 0.0722 * linear(rgb.blue());
}

// A hue at a lightness, rounded to what the screen shows.
QColor shade(int hue, double saturation, double lightness) {
  const QColor c = QColor::fromHslF(static_cast<float>(hue / 360.0), static_cast<float>(saturation),
                                    static_cast<float>(lightness))
                       .toRgb();
  return QColor(c.red(), c.green(), c.blue());
}

// The lightness nearest to the natural one at which the hue contrasts
// enough with `background`; lightness moves luminance one way only.
QColor readable(int hue, double saturation, const QColor &background) {
  const bool darker = blackOrWhiteOn(background) == Qt::black;
  const double natural = darker ? 0.35 : 0.65;
  if (contrastRatio(shade(hue, saturation, natural), background) >= kLeastContrast) {
    return shade(hue, saturation, natural);
  }
  // `good` always ends readable: black or white is, as far as anything is.
  double good = darker ? 0.0 : 1.0;
  double bad = natural;
  for (int i = 0; i < 24; ++i) {
    const double mid = (good + bad) / 2;
    (contrastRatio(shade(hue, saturation, mid), background) >= kLeastContrast ? good : bad) = mid;
  }
  return shade(hue, saturation, good);
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b) {
  const double la = luminance(a);
  const double lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool readsOn(const QColor &text, const QColor &background) {
  return contrastRatio(text, background) >= kLeastTextContrast;
}

QColor blackOrWhiteOn(const QColor &background) {
  return contrastRatio(Qt::black, background) >= contrastRatio(Qt::white, background) ? Qt::black : Qt::white;
}

KeywordPalette keywordPalette(const QColor &background) {
  return {readable(30, 0.85, background), readable(220, 0.9, background),  readable(335, 0.8, background),
          readable(125, 0.7, background), readable(275, 0.75, background), readable(180, 0.6, background)};
}

QColor findingColour(const QColor &background) { return readable(0, 0.9, background); }

} // namespace kavrin
