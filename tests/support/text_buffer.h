#pragma once

#include "platform/edit_control.h"
#include "support/qt_printers.h"

#include <QString>

#include <algorithm>

namespace kavrin::testing {

// An edit control without a window: the text, with '\n' for a line break,
// and a selection.
class TextBuffer : public EditControl {
public:
  explicit TextBuffer(QString text = {}) : text_(std::move(text)), start_(static_cast<int>(text_.size())) {}

  const QString &text() const { return text_; }
  QString selText() const { return text_.mid(start_, length_); }
  void select(int start, int length) {
    setSelStart(start);
    setSelLength(length);
  }

  int textLength() const override { return static_cast<int>(text_.size()); }
  QChar charAt(int pos) const override { return pos >= 0 && pos < text_.size() ? text_[pos] : QChar(); }
  int lineStart(int pos) const override {
    const qsizetype lf = pos > 0 ? text_.lastIndexOf(u'\n', pos - 1) : -1;
    return static_cast<int>(lf + 1);
  }
  int selStart() const override { return start_; }
  int selLength() const override { return length_; }
  void setSelStart(int pos) override {
    start_ = std::clamp(pos, 0, textLength());
    length_ = 0;
  }
  void setSelLength(int length) override { length_ = std::clamp(length, 0, textLength() - start_); }
  void setSelText(const QString &text) override {
    text_.replace(start_, length_, text);
    start_ += static_cast<int>(text.size());
    length_ = 0;
  }

private:
  QString text_;
  int start_ = 0;
  int length_ = 0;
};

} // namespace kavrin::testing
