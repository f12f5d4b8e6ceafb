#include "silent_ui.h"

#include "measure.h"

namespace kavrin::bench {

MsgResult SilentUserInterface::messageBox(QWidget * /*owner*/, const QString &text,
                                          const QString & /*caption*/, MsgButtons buttons,
                                          MsgResult /*defaultButton*/) {
  messages << text;
  return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Cancel;
}

bool SilentUserInterface::execOpenDialog(QWidget * /*owner*/, FileDialog & /*dialog*/) { return false; }

bool SilentUserInterface::execSaveDialog(QWidget * /*owner*/, FileDialog & /*dialog*/) { return false; }

bool SilentUserInterface::execFontDialog(QWidget * /*owner*/, FontChoice & /*choice*/) { return false; }

bool SilentUserInterface::execColorDialog(QWidget * /*owner*/, TColor & /*color*/) { return false; }

void requireSilence(const SilentUserInterface &ui) {
  if (!ui.messages.isEmpty()) {
    throw Failure(QStringLiteral("kavrin said: ") + ui.messages.first());
  }
}

} // namespace kavrin::bench
