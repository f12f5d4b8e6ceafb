// Keyword completion, the BASIC mode switch and the editor's key hook.

#include "app/tform1.h"
#include "editing/completion.h"
#include "editing/keyword_list.h"
#include "widgets/rich_edit.h"

#include <QAction>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenuBar>

namespace kavrin {
namespace {

bool isTab(const QKeyEvent &key) { return key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab; }

} // namespace

bool TForm1::eventFilter(QObject *watched, QEvent *event) {
  if (watched != RichEdit1) {
    return QMainWindow::eventFilter(watched, event);
  }
  switch (event->type()) {
  case QEvent::ShortcutOverride: {
    // The editor claims keys such as Ctrl+C for itself; the menu's own
    // shortcuts go to the menu, as they do before any key reaches an edit
    // control on Windows.
    if (isMenuShortcut(*static_cast<QKeyEvent *>(event))) {
      event->ignore();
      return true;
    }
    break;
  }
  case QEvent::KeyPress: {
    auto &key = *static_cast<QKeyEvent *>(event);
    bool handled = false;
    AppMessage(key, handled);
    // TAB is never text for the editor, nor a move of the focus.
    if (handled || isTab(key)) {
      return true;
    }
    int code = key.key();
    RichEdit1KeyDown(code, key.modifiers());
    break;
  }
  case QEvent::KeyRelease: {
    auto &key = *static_cast<QKeyEvent *>(event);
    if (!key.isAutoRepeat()) {
      int code = key.key();
      RichEdit1KeyUp(code, key.modifiers());
    }
    break;
  }
  case QEvent::InputMethod: {
    // Text from an input method is typing like any key's.
    const auto &input = *static_cast<QInputMethodEvent *>(event);
    if (!input.commitString().isEmpty() || !input.preeditString().isEmpty()) {
      int code = Qt::Key_unknown;
      RichEdit1KeyDown(code, Qt::NoModifier);
    }
    break;
  }
  default:
    break;
  }
  return QMainWindow::eventFilter(watched, event);
}

bool TForm1::isMenuShortcut(const QKeyEvent &key) const {
  if (key.modifiers() == Qt::NoModifier || key.modifiers() == Qt::ShiftModifier ||
      key.modifiers() == Qt::KeypadModifier) {
    return false; // typing
  }
  const QKeySequence pressed(key.keyCombination());
  const auto actions = MainMenu1->findChildren<QAction *>();
  return std::any_of(actions.begin(), actions.end(), [&pressed](const QAction *action) {
    return action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == pressed;
  });
}

void TForm1::AppMessage(QKeyEvent &key, bool &Handled) {
  if (isTab(key)) {
    const bool backwards = key.key() == Qt::Key_Backtab || (key.modifiers() & Qt::ShiftModifier);
    if (completeKeyword(*RichEdit1, Keywords, backwards, *this)) {
      ui().beep();
    }
  } else if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
    autoNumberOnReturn(Handled);
  }
}

void TForm1::Mode5Click() { selectMode(Mode5, QStringLiteral("qmcode.txt")); }

void TForm1::Mode6Click() { selectMode(Mode6, QStringLiteral("qmsrcode.txt")); }

void TForm1::selectMode(QAction *item, const QString &keywordFile) {
  item->setChecked(true);
  Keywords.clear();
  // The cycle ends before the load, which may fail and leave the list empty.
  CompActive = false;
  Keywords = loadKeywordList(keywordFilePath(ExeDir, keywordFile));
}

} // namespace kavrin
