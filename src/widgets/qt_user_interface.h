#pragma once

#include "platform/user_interface.h"

#include <QFileDialog>

#include <memory>

namespace kavrin {

class QtUserInterface : public UserInterface {
public:
  MsgResult messageBox(QWidget *owner, const QString &text, const QString &caption, MsgButtons buttons,
                       MsgResult defaultButton) override;
  bool execOpenDialog(QWidget *owner, FileDialog &dialog) override;
  bool execSaveDialog(QWidget *owner, FileDialog &dialog) override;
  bool execFontDialog(QWidget *owner, FontChoice &choice) override;
  bool execColorDialog(QWidget *owner, TColor &color) override;
  void beep() override;
  int execModal(QDialog &dialog) override;
  std::unique_ptr<ProgressWindow> showProgress(QWidget *owner, const QString &text,
                                               std::function<void()> onCancel) override;
  void aboutQt(QWidget *owner) override;
};

// The dialog that an open or save call shows, set up from its state.
std::unique_ptr<QFileDialog> makeFileDialog(QWidget *owner, const FileDialog &state,
                                            QFileDialog::AcceptMode mode);

} // namespace kavrin
