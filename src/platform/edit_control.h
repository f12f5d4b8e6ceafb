#pragma once

#include <QChar>
#include <QString>

namespace kavrin {

// An edit control's document holds each line break as U+2029; everywhere
// else a line break is '\n'.
inline QString withNewlines(QString text) {
  text.replace(QChar::ParagraphSeparator, u'\n');
  return text;
}

// The text operations of an edit control that the editing aids rely on.
// Positions count characters from 0; a line break is one position and
// reads as '\n'.
class EditControl {
public:
  virtual ~EditControl() = default;

  virtual int textLength() const = 0;
  // The character at `pos`; outside the text a null character.
  virtual QChar charAt(int pos) const = 0;
  // The start of the line that holds `pos`.
  virtual int lineStart(int pos) const = 0;
  // The caret position when nothing is selected.
  virtual int selStart() const = 0;
  virtual int selLength() const = 0;
  // Leaves an empty selection at `pos`.
  virtual void setSelStart(int pos) = 0;
  // Selects `length` characters from the selection start.
  virtual void setSelLength(int length) = 0;
  // Replaces the selection; the caret ends after the inserted text.
  virtual void setSelText(const QString &text) = 0;

protected:
  EditControl() = default;
  EditControl(const EditControl &) = default;
  EditControl &operator=(const EditControl &) = default;
};

} // namespace kavrin
