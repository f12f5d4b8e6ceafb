#include "settings/window_placement.h"

#include "logic/settings_file.h"
#include "logic/settings_table.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace kavrin {

WindowPlacement::WindowPlacement(const FeatureContext &context) : WindowFeature(context) {
  setOuterGeometry({192, 107, 544, 375});
}

void WindowPlacement::readSettings(const SettingValues &values) {
  QRect outer(values.number(Setting::Left), values.number(Setting::Top), values.number(Setting::Width),
              values.number(Setting::Height));
  if (const QScreen *primary = QGuiApplication::primaryScreen()) {
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens()) {
      screens << screen->availableGeometry();
    }
    outer = keepOnScreen(outer, screens, primary->availableGeometry());
  }
  setOuterGeometry(outer);
}

void WindowPlacement::writeSettings(SettingValues &values) const {
  const QRect outer = outerGeometry();
  values.set(Setting::Width, outer.width());
  values.set(Setting::Height, outer.height());
  values.set(Setting::Top, outer.top());
  values.set(Setting::Left, outer.left());
}

void WindowPlacement::setOuterGeometry(const QRect &outer) {
  QWidget &w = *window();
  const int frameWidth = w.frameGeometry().width() - w.geometry().width();
  const int frameHeight = w.frameGeometry().height() - w.geometry().height();
  const QSize inside(std::max(1, outer.width() - frameWidth), std::max(1, outer.height() - frameHeight));
  w.resize(inside);
  w.move(outer.topLeft());
  outerWidth_ = outer.width();
  outerHeight_ = outer.height();
  pending_ = !w.isVisible() || (frameWidth == 0 && frameHeight == 0);
  client_ = inside;
}

QRect WindowPlacement::outerGeometry() const {
  const QRect frame = window()->frameGeometry();
  // Until a frame is known the size set stands, unless the window has been
  // resized since.
  return pending_ && window()->size() == client_ ? QRect(frame.topLeft(), QSize(outerWidth_, outerHeight_))
                                                 : frame;
}

void WindowPlacement::frameMayBeKnown() {
  QWidget &w = *window();
  if (!pending_ || !w.isVisible()) {
    return;
  }
  const int frameWidth = w.frameGeometry().width() - w.geometry().width();
  const int frameHeight = w.frameGeometry().height() - w.geometry().height();
  if (frameWidth == 0 && frameHeight == 0) {
    return; // no frame reported (yet)
  }
  pending_ = false;
  w.resize(std::max(1, outerWidth_ - frameWidth), std::max(1, outerHeight_ - frameHeight));
}

} // namespace kavrin
