#include "widgets/window_icon.h"

#include <QApplication>
#include <QIcon>

namespace kavrin {

void installWindowIcon() {
  if (!QApplication::windowIcon().isNull()) {
    return;
  }
  QIcon fallback;
  fallback.addFile(QStringLiteral(":/icons/48x48/kavrin.png"));
  fallback.addFile(QStringLiteral(":/icons/256x256/kavrin.png"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("kavrin"), fallback));
}

} // namespace kavrin
