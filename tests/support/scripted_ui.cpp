#include "support/scripted_ui.h"

#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

namespace kavrin::testing {
namespace {

bool answerDialog(std::deque<std::optional<QString>> &script,
                  std::vector<ScriptedUserInterface::DialogCall> &calls, FileDialog &dialog,
                  const char *what) {
  calls.push_back({dialog});
  if (script.empty()) {
    ADD_FAILURE() << "unexpected " << what << " dialog";
    return false;
  }
  const std::optional<QString> answer = script.front();
  script.pop_front();
  if (!answer) {
    return false;
  }
  dialog.fileName = *answer;
  return true;
}

} // namespace

MsgResult ScriptedUserInterface::messageBox(QWidget * /*owner*/, const QString &text, const QString &caption,
                                            MsgButtons buttons, MsgResult defaultButton) {
  messages.push_back({text, caption, buttons, defaultButton});
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
  return answerDialog(openAnswers, openCalls, dialog, "open");
}

bool ScriptedUserInterface::execSaveDialog(QWidget * /*owner*/, FileDialog &dialog) {
  return answerDialog(saveAnswers, saveCalls, dialog, "save");
}

template <typename T>
bool answerChoice(std::deque<std::optional<T>> &script, std::vector<T> &calls, T &value, const char *what) {
  calls.push_back(value);
  if (script.empty()) {
    ADD_FAILURE() << "unexpected " << what << " dialog";
    return false;
  }
  const std::optional<T> answer = script.front();
  script.pop_front();
  if (!answer) {
    return false;
  }
  value = *answer;
  return true;
}

bool ScriptedUserInterface::execFontDialog(QWidget * /*owner*/, FontChoice &choice) {
  return answerChoice(fontAnswers, fontCalls, choice, "font");
}

bool ScriptedUserInterface::execColorDialog(QWidget * /*owner*/, TColor &color) {
  return answerChoice(colorAnswers, colorCalls, color, "colour");
}

namespace {

class ScriptedProgress : public ProgressWindow {
public:
  ScriptedProgress(int cancelAfterMs, std::function<void()> onCancel) {
    if (cancelAfterMs >= 0) {
      timer_.setSingleShot(true);
      QObject::connect(&timer_, &QTimer::timeout, std::move(onCancel));
      timer_.start(cancelAfterMs);
    }
  }
  bool acceptsInput() const override { return true; }

private:
  QTimer timer_;
};

} // namespace

std::unique_ptr<ProgressWindow> ScriptedUserInterface::showProgress(QWidget * /*owner*/, const QString &text,
                                                                    std::function<void()> onCancel) {
  progressTexts << text;
  return std::make_unique<ScriptedProgress>(cancelAfterMs, std::move(onCancel));
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
