#include "widgets/status_bar.h"

#include <QPainter>
#include <qdrawutil.h>

namespace kavrin {

PanelStatusBar::PanelStatusBar(QWidget *parent) : QStatusBar(parent) {
  setSizeGripEnabled(false);
  setFixedHeight(19);
}

void PanelStatusBar::setPanelWidth(int index, int width) {
  if (panels_.at(index).width != width) {
    panels_.at(index).width = width;
    update();
  }
}

void PanelStatusBar::setPanelText(int index, const QString &text) {
  if (panels_.at(index).text != text) {
    panels_.at(index).text = text;
    update();
  }
}

void PanelStatusBar::setFormText(const QString &text) {
  if (form_ != text) {
    form_ = text;
    update();
  }
}

QString PanelStatusBar::shownPanelText(int index) const {
  QString shown = panels_.at(index).text;
  shown.replace(QLatin1String("\r\n"), QStringLiteral("\u23CE"));
  return shown;
}

void PanelStatusBar::paintEvent(QPaintEvent * /*event*/) {
  QPainter painter(this);
  int x = 0;
  for (int index = 0; index < kPanelCount; ++index) {
    const Panel &panel = panels_.at(index);
    if (x >= width()) {
      break;
    }
    const QRect cell(x, 0, panel.width, height());
    const QRect box = cell.adjusted(0, 1, -2, 0);
    // Sunken like the panels of a Windows status bar, whatever the style.
    qDrawShadePanel(&painter, box, palette(), true, 1);
    const QString shown = shownPanelText(index);
    painter.save();
    painter.setClipRect(box.adjusted(2, 0, -2, 0));
    painter.drawText(box.adjusted(3, 0, -3, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, shown);
    if (index == kPanelCount - 1) {
      painter.drawText(box.adjusted(3, 0, -3, 0), Qt::AlignVCenter | Qt::AlignRight | Qt::TextSingleLine,
                       form_);
    }
    painter.restore();
    x += panel.width;
  }
}

} // namespace kavrin
