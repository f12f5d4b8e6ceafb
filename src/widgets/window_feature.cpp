#include "widgets/window_feature.h"

#include "platform/error.h"
#include "platform/user_interface.h"
#include "widgets/session.h"

#include <QAction>
#include <QWidget>

namespace kavrin {

WindowFeature::WindowFeature(const FeatureContext &context) : QObject(context.window), context_(context) {}

QAction *WindowFeature::addItem(const char *name, const QString &caption, const QKeySequence &shortcut) {
  auto *item = new QAction(caption, this);
  item->setObjectName(QString::fromLatin1(name));
  item->setShortcut(shortcut);
  return item;
}

void WindowFeature::connectGuarded(QAction *item, std::function<void()> handler) {
  connect(item, &QAction::triggered, this, [this, handler = std::move(handler)] { guard(handler); });
}

void WindowFeature::guard(const std::function<void()> &command) {
  try {
    command();
  } catch (const Error &e) {
    message(e.message());
  }
}

void WindowFeature::message(const QString &text) { showMessage(context_.ui, context_.window, text); }

void WindowFeature::settingChanged() { emit context_.session.settingChanged(); }

} // namespace kavrin
