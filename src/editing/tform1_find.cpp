#include "app/tform1.h"

#include "editing/find_next.h"
#include "widgets/find_dialog.h"
#include "widgets/rich_edit.h"

namespace kavrin {

void TForm1::Find1Click() {
  if (FindDialog1 == nullptr) {
    FindDialog1 = new FindDialog(this);
    connect(FindDialog1, &FindDialog::findNext, this, [this] { guard([this] { FindDialog1Find(); }); });
  }
  FindDialog1->setFindText(firstLineOf(RichEdit1->selText()));
  FindDialog1->present();
}

void TForm1::FindDialog1Find() {
  SearchOptions options;
  if (FindDialog1 != nullptr) {
    options = {FindDialog1->findText(), FindDialog1->matchCase(), FindDialog1->wholeWord()};
  }
  findNext(*RichEdit1, ui(), options);
}

} // namespace kavrin
