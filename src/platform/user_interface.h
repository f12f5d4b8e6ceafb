#pragma once

#include "platform/colors.h"

#include <QFont>
#include <QString>

#include <functional>
#include <memory>

class QDialog;
class QWidget;

namespace kavrin {

enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgResult { Ok, Yes, No, Cancel };

// The state of an open or save dialog.  It persists between showings: the
// filter, the title and the file name last chosen stay until changed.
struct FileDialog {
  // "description|mask|description|mask", masks separated by ';'.
  QString filter;
  // Empty gives the system's own title.
  QString title;
  // Proposed on showing; the chosen path after an accepted showing.
  QString fileName;
  QString defaultExt;
  // A save asks before it replaces a file that exists.
  bool askBeforeReplacing = false;
};

struct FontChoice {
  QFont font;
  TColor color = clBlack;
};

// A window that says a long task is running and offers to cancel it; it
// closes when the object goes.
class ProgressWindow {
public:
  virtual ~ProgressWindow() = default;
  // Whether the user can reach the window yet: until it shows, input to
  // the program waits.
  virtual bool acceptsInput() const = 0;
  // While held the window is hidden, so that it covers no box of the
  // program's own; released, it shows again once the task runs on a moment.
  virtual void hold(bool held) = 0;
};

// Every modal conversation with the user goes through this interface, so
// that tests can answer it from a script.
class UserInterface {
public:
  virtual ~UserInterface() = default;

  // A box with no icon; Esc and the close button answer Cancel where the box
  // has a Cancel button.
  virtual MsgResult messageBox(QWidget *owner, const QString &text, const QString &caption,
                               MsgButtons buttons, MsgResult defaultButton) = 0;
  // True when the user chose a file; dialog.fileName then holds its path.
  virtual bool execOpenDialog(QWidget *owner, FileDialog &dialog) = 0;
  virtual bool execSaveDialog(QWidget *owner, FileDialog &dialog) = 0;
  virtual bool execFontDialog(QWidget *owner, FontChoice &choice) = 0;
  virtual bool execColorDialog(QWidget *owner, TColor &color) = 0;
  virtual void beep() = 0;
  // Shows a dialog modally; returns its result code.
  virtual int execModal(QDialog &dialog) = 0;
  // Shown modal over `owner` once the task has run a moment; `onCancel` runs
  // when the user cancels.
  virtual std::unique_ptr<ProgressWindow> showProgress(QWidget *owner, const QString &text,
                                                       std::function<void()> onCancel) = 0;
  // Qt's own box about the Qt the program runs on.
  virtual void aboutQt(QWidget *owner) = 0;
};

// The application's own message: caption "kavrin", OK, no icon.
void showMessage(UserInterface &ui, QWidget *owner, const QString &text);

} // namespace kavrin
