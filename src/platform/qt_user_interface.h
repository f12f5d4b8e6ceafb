#pragma once

#include "platform/user_interface.h"

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
};

} // namespace kavrin
