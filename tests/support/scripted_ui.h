#pragma once

#include "platform/user_interface.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace kavrin::testing {

// Answers the program's questions from a script and records what it was
// asked.  A question with no scripted answer fails the test and is answered
// with Cancel, so no test ever waits on a dialog.
class ScriptedUserInterface : public UserInterface {
public:
  struct Message {
    QString text;
    QString caption;
    // A progress window showed at some time while the box was open.
    bool underProgress = false;
  };

  // Scripts.
  std::deque<MsgResult> answers;
  // nullopt cancels the dialog.
  std::deque<std::optional<QString>> openAnswers;
  std::deque<std::optional<QString>> saveAnswers;
  std::deque<std::optional<FontChoice>> fontAnswers;
  std::deque<std::optional<TColor>> colorAnswers;

  // Records.
  std::vector<Message> messages;
  // Each dialog's state as it was when shown.
  std::vector<FileDialog> openCalls;
  std::vector<FileDialog> saveCalls;
  std::vector<FontChoice> fontCalls;
  std::vector<TColor> colorCalls;
  int beeps = 0;

  MsgResult messageBox(QWidget *owner, const QString &text, const QString &caption, MsgButtons buttons,
                       MsgResult defaultButton) override;
  bool execOpenDialog(QWidget *owner, FileDialog &dialog) override;
  bool execSaveDialog(QWidget *owner, FileDialog &dialog) override;
  bool execFontDialog(QWidget *owner, FontChoice &choice) override;
  bool execColorDialog(QWidget *owner, TColor &color) override;
  void beep() override { ++beeps; }
  int aboutQtBoxes = 0;
  void aboutQt(QWidget * /*owner*/) override { ++aboutQtBoxes; }
  // Shows the dialog without a modal loop and runs the next script on it; a
  // dialog the script leaves open is closed as by its title bar.
  int execModal(QDialog &dialog) override;
  std::deque<std::function<void(QDialog &)>> modalScripts;

  std::unique_ptr<ProgressWindow> showProgress(QWidget *owner, const QString &text,
                                               std::function<void()> onCancel) override;

  // Progress windows shown, by their text; with cancelAfterMs >= 0 the user
  // cancels each that long after it was made (the real one, once it shows,
  // with Esc).
  QStringList progressTexts;
  int cancelAfterMs = -1;
  // The real progress window (QtUserInterface's) instead of a stand-in.
  bool realProgress = false;
  // How long the boxes stay open, in turn, events running, before they are
  // answered; the boxes after these close at once.
  std::deque<int> boxOpenMs;
  // Stand-in progress windows showing now, and whether a progress window
  // showed once the first box was open (before any box: ever). One that
  // shows before a slow converter's first output is no fault.
  int progressShown = 0;
  bool progressShownSinceBox = false;
  bool progressVisible() const;

  QStringList messageTexts() const;
  bool scriptDone() const {
    return answers.empty() && openAnswers.empty() && saveAnswers.empty() && fontAnswers.empty() &&
           colorAnswers.empty() && modalScripts.empty();
  }
};

} // namespace kavrin::testing
