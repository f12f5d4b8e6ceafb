#include "support/scripted_ui.h"

#include "widgets/qt_user_interface.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLayout>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace kavrin::testing {
namespace {

bool inLayout(const QLayout &layout, const QWidget *widget) {
  for (int i = 0; i < layout.count(); ++i) {
    QLayoutItem *item = layout.itemAt(i);
    if (item->widget() == widget || (item->layout() && inLayout(*item->layout(), widget))) {
      return true;
    }
  }
  return false;
}

// A widget its parent's layout leaves out sits over another in a corner;
// a size grip and a style's focus frame are placed on purpose.
void expectLaidOut(const QWidget &dialog) {
  for (const QWidget *w : dialog.findChildren<QWidget *>()) {
    const QLayout *layout = w->parentWidget()->layout();
    if (!w->isWindow() && w->isVisibleTo(&dialog) && layout && !inLayout(*layout, w) &&
        !w->inherits("QSizeGrip") && !w->inherits("QFocusFrame")) {
      ADD_FAILURE() << dialog.windowTitle().toStdString() << ": a " << w->metaObject()->className()
                    << " in no layout";
    }
  }
}

// Records the dialog's state and applies the next scripted answer to it; a
// missing answer fails the test and cancels.
template <typename Answer, typename Value, typename Apply>
bool answerNext(std::deque<std::optional<Answer>> &script, std::vector<Value> &calls, Value &value,
                const char *what, Apply apply) {
  calls.push_back(value);
  if (script.empty()) {
    ADD_FAILURE() << "unexpected " << what << " dialog";
    return false;
  }
  const std::optional<Answer> answer = script.front();
  script.pop_front();
  if (answer) {
    apply(value, *answer);
  }
  return answer.has_value();
}

void takeFileName(FileDialog &dialog, const QString &name) { dialog.fileName = name; }

template <typename T> void take(T &value, const T &answer) { value = answer; }

// How often an open box or a real progress window is looked at.
constexpr int kPollMs = 20;

// The window of a visible busy bar: the real progress window.
QWidget *visibleProgressDialog() {
  for (QWidget *widget : QApplication::allWidgets()) {
    if (qobject_cast<QProgressBar *>(widget) != nullptr && widget->isVisible()) {
      return widget->window();
    }
  }
  return nullptr;
}

} // namespace

MsgResult ScriptedUserInterface::messageBox(QWidget * /*owner*/, const QString &text, const QString &caption,
                                            MsgButtons buttons, MsgResult /*defaultButton*/) {
  const std::size_t index = messages.size();
  progressShownSinceBox = progressShownSinceBox && index > 0;
  messages.push_back({text, caption, progressVisible()});
  const int openMs = boxOpenMs.empty() ? 0 : boxOpenMs.front();
  if (!boxOpenMs.empty()) {
    boxOpenMs.pop_front();
  }
  QElapsedTimer open;
  open.start();
  while (open.elapsed() < openMs) {
    QTest::qWait(kPollMs);
    messages[index].underProgress = messages[index].underProgress || progressVisible();
  }
  if (buttons == MsgButtons::Ok) {
    return MsgResult::Ok;
  }
  if (answers.empty()) {
    ADD_FAILURE() << "unexpected question: " << text.toStdString();
    return MsgResult::Cancel;
  }
  const MsgResult answer = answers.front();
  answers.pop_front();
  return answer;
}

bool ScriptedUserInterface::execOpenDialog(QWidget * /*owner*/, FileDialog &dialog) {
  return answerNext(openAnswers, openCalls, dialog, "open", takeFileName);
}

bool ScriptedUserInterface::execSaveDialog(QWidget * /*owner*/, FileDialog &dialog) {
  return answerNext(saveAnswers, saveCalls, dialog, "save", takeFileName);
}

bool ScriptedUserInterface::execFontDialog(QWidget * /*owner*/, FontChoice &choice) {
  return answerNext(fontAnswers, fontCalls, choice, "font", take<FontChoice>);
}

bool ScriptedUserInterface::execColorDialog(QWidget * /*owner*/, TColor &color) {
  return answerNext(colorAnswers, colorCalls, color, "colour", take<TColor>);
}

namespace {

// Shows itself after the real window's delay, unless held.
class ScriptedProgress : public ProgressWindow {
public:
  ScriptedProgress(int cancelAfterMs, std::function<void()> onCancel, ScriptedUserInterface &ui) : ui_(ui) {
    if (cancelAfterMs >= 0) {
      timer_.setSingleShot(true);
      QObject::connect(&timer_, &QTimer::timeout, std::move(onCancel));
      timer_.start(cancelAfterMs);
    }
    show_.setSingleShot(true);
    QObject::connect(&show_, &QTimer::timeout, [this] { setShown(true); });
    show_.start(kShowDelayMs);
  }
  ~ScriptedProgress() override { setShown(false); }
  bool acceptsInput() const override { return true; }
  void hold(bool held) override {
    show_.stop();
    if (held) {
      setShown(false);
    } else {
      show_.start(kShowDelayMs);
    }
  }

private:
  static constexpr int kShowDelayMs = 400;

  void setShown(bool on) {
    if (on != shown_) {
      shown_ = on;
      ui_.progressShown += on ? 1 : -1;
      ui_.progressShownSinceBox = ui_.progressShownSinceBox || on;
    }
  }

  ScriptedUserInterface &ui_;
  QTimer timer_;
  QTimer show_;
  bool shown_ = false;
};

// The real window, watched as a user sees it: whether it ever shows, and
// Esc on it when the user cancels.
class WatchedProgress : public ProgressWindow {
public:
  WatchedProgress(std::unique_ptr<ProgressWindow> real, int cancelAfterMs, ScriptedUserInterface &ui)
      : real_(std::move(real)) {
    made_.start();
    QObject::connect(&poll_, &QTimer::timeout, [this, cancelAfterMs, &ui] {
      QWidget *shown = visibleProgressDialog();
      if (shown != nullptr && !ui.progressShownSinceBox) {
        expectLaidOut(*shown);
        EXPECT_EQ(shown->minimumSize(), shown->maximumSize()); // not to be resized
      }
      ui.progressShownSinceBox = ui.progressShownSinceBox || shown != nullptr;
      if (shown != nullptr && cancelAfterMs >= 0 && made_.elapsed() >= cancelAfterMs) {
        poll_.stop();
        QTest::keyClick(shown, Qt::Key_Escape);
      }
    });
    poll_.start(kPollMs);
  }
  bool acceptsInput() const override { return real_->acceptsInput(); }
  void hold(bool held) override { real_->hold(held); }

private:
  std::unique_ptr<ProgressWindow> real_;
  QElapsedTimer made_;
  QTimer poll_;
};

} // namespace

std::unique_ptr<ProgressWindow> ScriptedUserInterface::showProgress(QWidget *owner, const QString &text,
                                                                    std::function<void()> onCancel) {
  progressTexts << text;
  if (realProgress) {
    return std::make_unique<WatchedProgress>(QtUserInterface().showProgress(owner, text, std::move(onCancel)),
                                             cancelAfterMs, *this);
  }
  return std::make_unique<ScriptedProgress>(cancelAfterMs, std::move(onCancel), *this);
}

bool ScriptedUserInterface::progressVisible() const {
  return progressShown > 0 || visibleProgressDialog() != nullptr;
}

int ScriptedUserInterface::execModal(QDialog &dialog) {
  if (modalScripts.empty()) {
    ADD_FAILURE() << "unexpected modal dialog " << dialog.windowTitle().toStdString();
    return QDialog::Rejected;
  }
  const std::function<void(QDialog &)> script = modalScripts.front();
  modalScripts.pop_front();
  int result = QDialog::Rejected;
  const QMetaObject::Connection done =
      QObject::connect(&dialog, &QDialog::finished, [&result](int code) { result = code; });
  dialog.show();
  expectLaidOut(dialog);
  script(dialog);
  if (dialog.isVisible()) {
    dialog.close();
  }
  QObject::disconnect(done);
  return result;
}

QStringList ScriptedUserInterface::messageTexts() const {
  QStringList texts;
  for (const Message &m : messages) {
    texts << m.text;
  }
  return texts;
}

} // namespace kavrin::testing
