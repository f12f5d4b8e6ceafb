#pragma once

#include "platform/user_interface.h"

#include <QStringList>

namespace kavrin::bench {

// Never shows anything: boxes answer Ok or Cancel, dialogs are cancelled.
// Any message is kept, since during a benchmark it means something failed.
class SilentUserInterface final : public UserInterface {
public:
  QStringList messages;

  MsgResult messageBox(QWidget *owner, const QString &text, const QString &caption, MsgButtons buttons,
                       MsgResult defaultButton) override;
  bool execOpenDialog(QWidget *owner, FileDialog &dialog) override;
  bool execSaveDialog(QWidget *owner, FileDialog &dialog) override;
  bool execFontDialog(QWidget *owner, FontChoice &choice) override;
  bool execColorDialog(QWidget *owner, TColor &color) override;
  void beep() override {}
  int execModal(QDialog & /*dialog*/) override { return 0; }
  std::unique_ptr<ProgressWindow> showProgress(QWidget * /*owner*/, const QString & /*text*/,
                                               std::function<void()> /*onCancel*/) override {
    struct Silent : ProgressWindow {
      bool acceptsInput() const override { return true; }
      void hold(bool /*held*/) override {}
    };
    return std::make_unique<Silent>();
  }
  void aboutQt(QWidget * /*owner*/) override {}
};

// Throws with the first message kavrin gave, if any.
void requireSilence(const SilentUserInterface &ui);

} // namespace kavrin::bench
