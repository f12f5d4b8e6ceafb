#include "editing/typing_aids.h"

#include "logic/auto_number.h"
#include "logic/function_keys.h"
#include "logic/keyword_list.h"
#include "logic/settings_table.h"
#include "logic/source_form.h"
#include "platform/user_interface.h"
#include "widgets/program_editor.h"
#include "widgets/session.h"
#include "widgets/status_bar.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <functional>
#include <utility>

namespace kavrin {
namespace {

bool isTab(const QKeyEvent &key) { return key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab; }

// Sees the Shift key wherever the focus is (the editor, the result panel, a
// box): the legend shows the real state of the key.
class ShiftWatch : public QObject {
public:
  ShiftWatch(QObject *parent, std::function<void(bool)> changed)
      : QObject(parent), changed_(std::move(changed)) {
    QCoreApplication::instance()->installEventFilter(this);
  }

  bool eventFilter(QObject *watched, QEvent *event) override {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
      const auto &key = *static_cast<QKeyEvent *>(event);
      if (key.key() == Qt::Key_Shift && !key.isAutoRepeat()) {
        changed_(type == QEvent::KeyPress);
      }
    }
    return QObject::eventFilter(watched, event);
  }

private:
  std::function<void(bool)> changed_;
};

} // namespace

TypingAids::TypingAids(const FeatureContext &context) : WindowFeature(context) {
  auto_ = addItem("auto", QStringLiteral("AUTO(&A)"));
  mode5_ = addItem("mode5", QStringLiteral("モード1-5(&5)"));
  mode6_ = addItem("mode6", QStringLiteral("モード6(&6)"));
  auto *modes = new QActionGroup(this);
  modes->setExclusive(true);
  for (QAction *item : {auto_, mode5_, mode6_}) {
    item->setCheckable(true);
  }
  modes->addAction(mode5_);
  modes->addAction(mode6_);
  auto_->setChecked(true);
  mode5_->setChecked(true);
  connectGuarded(mode5_, [this] {
    selectMode(5);
    settingChanged();
  });
  connectGuarded(mode6_, [this] {
    selectMode(6);
    settingChanged();
  });
  connect(auto_, &QAction::triggered, this, &TypingAids::settingChanged);

  editor()->installEventFilter(this);
  new ShiftWatch(this, [this](bool down) {
    if (std::exchange(shiftDown_, down) != down) {
      updateLegend();
    }
  });
  editor()->setOverwriteMode(false);
  connect(&session(), &Session::preferencesChanged, this, &TypingAids::updateLegend);
  updateLegend();
}

void TypingAids::readSettings(const SettingValues &values) {
  selectMode(values.number(Setting::Mode) == 5 ? 5 : 6);
  auto_->setChecked(values.number(Setting::AutoFlag) != 0);
}

void TypingAids::writeSettings(SettingValues &values) const {
  values.set(Setting::Mode, mode5_->isChecked() ? 5 : 6);
  values.set(Setting::AutoFlag, auto_->isChecked() ? 1 : 0);
}

bool TypingAids::autoNumbering() const { return auto_->isChecked(); }

void TypingAids::selectMode(int mode) {
  (mode == 5 ? mode5_ : mode6_)->setChecked(true);
  session().setMode(mode);
  // The cycle ends before the load, which may fail and leave the list empty.
  completion_.CompActive = false;
  const QString file = mode == 5 ? QStringLiteral("qmcode.txt") : QStringLiteral("qmsrcode.txt");
  QStringList keywords;
  try {
    keywords = loadKeywordList(keywordFilePath(session().paths().exeDir, file));
  } catch (...) {
    session().setKeywords({});
    throw;
  }
  session().setKeywords(keywords);
}

bool TypingAids::eventFilter(QObject *watched, QEvent *event) {
  if (watched != editor()) {
    return WindowFeature::eventFilter(watched, event);
  }
  switch (event->type()) {
  case QEvent::ShortcutOverride:
    // The editor claims keys such as Ctrl+C for itself; the menu's own
    // shortcuts go to the menu, as they do before any key reaches an edit
    // control on Windows.
    if (isMenuShortcut(*static_cast<QKeyEvent *>(event))) {
      event->ignore();
      return true;
    }
    break;
  case QEvent::KeyPress: {
    const auto &key = *static_cast<QKeyEvent *>(event);
    // TAB is never text for the editor, nor a move of the focus.
    if (keyPressed(key) || isTab(key)) {
      return true;
    }
    keyDown(key.key(), key.modifiers());
    break;
  }
  case QEvent::FocusIn:
    // Another window may have taken the Shift key's release (or press):
    // the system knows whether it is down now.
    shiftDown_ = QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
    updateLegend();
    break;
  case QEvent::InputMethod: {
    // Text from an input method is typing like any key's.
    const auto &input = *static_cast<QInputMethodEvent *>(event);
    if (!input.commitString().isEmpty() || !input.preeditString().isEmpty()) {
      keyDown(Qt::Key_unknown, Qt::NoModifier);
    }
    break;
  }
  default:
    break;
  }
  return WindowFeature::eventFilter(watched, event);
}

bool TypingAids::isMenuShortcut(const QKeyEvent &key) const {
  if (key.modifiers() == Qt::NoModifier || key.modifiers() == Qt::ShiftModifier ||
      key.modifiers() == Qt::KeypadModifier) {
    return false; // typing
  }
  const QKeySequence pressed(key.keyCombination());
  for (const QAction *column : context().menuBar->actions()) {
    const QList<QAction *> items = column->menu() != nullptr ? column->menu()->actions() : QList<QAction *>();
    if (std::any_of(items.begin(), items.end(), [&pressed](const QAction *item) {
          return item->isEnabled() && item->shortcuts().contains(pressed);
        })) {
      return true;
    }
  }
  return false;
}

// The cycle just started shows the one entry there is, as typed: END,
// RETURN or a label's whole name are complete already.
bool TypingAids::completeAlready() const {
  return completion_.CompActive && completion_.CompEnd - completion_.CompFirst == 1 &&
         completion_.CompIndex == completion_.CompFirst && editor()->selLength() == 0;
}

bool TypingAids::keyPressed(const QKeyEvent &key) {
  if (isTab(key)) {
    const bool backwards = key.key() == Qt::Key_Backtab || (key.modifiers() & Qt::ShiftModifier);
    // A source document's labels are read again for each new cycle.
    if (session().sourceForm() && !completion_.CompActive) {
      labels_ = basic::labelNames(editor()->text());
    }
    // A tab never takes the place of a selection.
    const bool tabMayGoIn =
        session().sourceForm() && !completion_.CompActive && editor()->selLength() == 0 && !backwards;
    const LabelWords labels{labels_, session().keywordMatcher()};
    const bool beep = completeKeyword(*editor(), session().keywords(), backwards, completion_,
                                      session().sourceForm() ? &labels : nullptr);
    if (tabMayGoIn && (beep || completeAlready())) {
      // Nothing to complete: the tab that sets a source comment apart.
      endCompletion(*editor(), completion_, false);
      editor()->setSelText(QStringLiteral("\t"));
    } else if (beep) {
      ui().beep();
    }
    return false;
  }
  // The build numbers a source document's lines.
  if ((key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) && auto_->isChecked() &&
      !session().sourceForm()) {
    endCompletion(*editor(), completion_, true);
    autoNumberReturn(*editor(), session().preferences().autoIncrement);
    return true;
  }
  return false;
}

void TypingAids::keyDown(int key, Qt::KeyboardModifiers modifiers) {
  endCompletionOnKey(*editor(), completion_, key);
  const int index = functionKeyIndex(key, modifiers);
  if (index >= 0) {
    editor()->setSelText(session().preferences().functionKeys[index]);
  }
  if (key == Qt::Key_Insert) {
    // Qt's editor does not switch overwriting on this key by itself.
    inserting_ = !inserting_;
    editor()->setOverwriteMode(!inserting_);
    updateLegend();
  }
}

void TypingAids::updateLegend() {
  const auto &keys = session().preferences().functionKeys;
  for (int panel = 0; panel < 5; ++panel) {
    context().statusBar->setPanelText(panel, keys[shiftDown_ ? panel + 5 : panel]);
  }
  context().statusBar->setPanelText(5, inserting_ ? QStringLiteral("INS") : QStringLiteral("OVW"));
}

} // namespace kavrin
