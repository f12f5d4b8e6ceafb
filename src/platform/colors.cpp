#include "platform/colors.h"

namespace kavrin {
namespace {

QColor systemColor(int index, const QPalette &p) {
  // The indexes of the Windows system colours that have a palette role.
  switch (index) {
  case 4:  // menu
  case 15: // button face
    return p.color(QPalette::Button);
  case 5: // window background
    return p.color(QPalette::Base);
  case 7: // menu text
  case 8: // window text
    return p.color(QPalette::Text);
  case 13: // highlight
    return p.color(QPalette::Highlight);
  case 14: // highlight text
    return p.color(QPalette::HighlightedText);
  case 17: // grey text
    return p.color(QPalette::Disabled, QPalette::Text);
  case 18: // button text
    return p.color(QPalette::ButtonText);
  case 20: // 3D highlight
    return p.color(QPalette::Light);
  case 16: // button shadow
    return p.color(QPalette::Dark);
  case 23: // tooltip text
    return p.color(QPalette::ToolTipText);
  case 24: // tooltip background
    return p.color(QPalette::ToolTipBase);
  default:
    return p.color(QPalette::Window);
  }
}

} // namespace

QColor toQColor(TColor c, const QPalette &palette) {
  if (isSystemColor(c)) {
    return systemColor(static_cast<int>(c & 0xFF), palette);
  }
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

TColor fromQColor(const QColor &c) {
  const QColor rgb = c.toRgb();
  return static_cast<TColor>(rgb.red()) | static_cast<TColor>(rgb.green()) << 8 |
         static_cast<TColor>(rgb.blue()) << 16;
}

} // namespace kavrin
