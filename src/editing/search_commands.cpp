#include "editing/search_commands.h"

#include "platform/user_interface.h"
#include "widgets/find_next.h"
#include "widgets/program_editor.h"

namespace kavrin {

SearchCommands::SearchCommands(const FeatureContext &context) : WindowFeature(context) {
  addCommand("find", QStringLiteral("検索(&F)..."), &SearchCommands::find, Qt::CTRL | Qt::Key_F);
  addCommand("replace", QStringLiteral("置換(&R)..."), &SearchCommands::replace, Qt::CTRL | Qt::Key_H);
}

SearchDialog *SearchCommands::present(SearchDialog *&dialog, SearchDialog::Purpose purpose) {
  const bool made = dialog == nullptr;
  if (made) {
    dialog = new SearchDialog(purpose, window());
    SearchDialog *shown = dialog;
    connect(shown, &SearchDialog::findNext, this,
            [this, shown] { guard([this, shown] { findNext(*shown); }); });
  }
  dialog->setFindText(firstLineOf(editor()->selText()));
  dialog->present();
  return made ? dialog : nullptr;
}

void SearchCommands::find() { present(findDialog_, SearchDialog::Purpose::Find); }

void SearchCommands::replace() {
  if (SearchDialog *made = present(replaceDialog_, SearchDialog::Purpose::Replace)) {
    connect(made, &SearchDialog::replaceNext, this, [this] { guard([this] { replaceNext(); }); });
    connect(made, &SearchDialog::replaceAll, this, [this] { guard([this] { replaceAll(); }); });
  }
}

void SearchCommands::findNext(const SearchDialog &dialog) {
  kavrin::findNext(*editor(), ui(), dialog.options());
}

void SearchCommands::replaceNext() {
  const SearchOptions options = replaceDialog_->options();
  if (isHit(*editor()->document(), editor()->textCursor(), options)) {
    editor()->setSelText(replaceDialog_->replaceText());
  }
  kavrin::findNext(*editor(), ui(), options);
}

void SearchCommands::replaceAll() {
  const int count =
      kavrin::replaceAll(*editor()->document(), replaceDialog_->options(), replaceDialog_->replaceText());
  editor()->ensureCursorVisible();
  showMessage(ui(), replaceDialog_, QStringLiteral("%1 箇所を置換しました。").arg(count));
}

} // namespace kavrin
