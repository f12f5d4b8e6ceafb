#pragma once

#include "logic/source_form.h"
#include "widgets/window_feature.h"

#include <optional>

#include <vector>

namespace kavrin {
class LabelNameDialog;
} // namespace kavrin

namespace kavrin::basic {

// The two forms of a program: 「ラベル形式に変換」 turns the numbered program
// into the source form, 「行番号形式に変換」 builds the source back into it,
// each as one undo step; 「番号付きで保存...」 writes the built program to
// a file of its own.  On a source document the tools that number lines are
// off, as the build numbers them.
class FormCommands : public WindowFeature {
  Q_OBJECT

public:
  explicit FormCommands(const FeatureContext &context);

  void toLabelForm();
  void toNumberedForm();
  void saveNumbered();
  // F2 on a label or a use of it: renames the label and every use, as one
  // undo step.
  void renameLabel();

private:
  void formChanged();
  // Replaces `old` by `text` in the form `source`, as one undo step that
  // takes the form back too; the text has `lines` lines.
  void convert(const QString &old, const QString &text, const std::vector<int> &newLineOf, int lines,
               bool source);
  // The label at the caret, in a source document.
  QString labelAtCaret() const;
  // The document built, or null with the refusal shown.
  std::optional<BuiltProgram> build(const QString &text);

  std::vector<QAction *> sourceOnly_;
  QAction *labelForm_;
  // On only where the caret is on a label: elsewhere F2 is a function key.
  QAction *rename_;
  LabelNameDialog *renameDialog_ = nullptr;
};

} // namespace kavrin::basic
