#include "app/tform1.h"

#include "widgets/find_dialog.h"
#include "widgets/rich_edit.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace kavrin {

void TForm1::Find1Click() {
  if (FindDialog1 == nullptr) {
    FindDialog1 = new FindDialog(this);
    connect(FindDialog1, &FindDialog::findNext, this, [this] { guard([this] { FindDialog1Find(); }); });
  }
  // The dialog's text box holds one line.
  QString seed = RichEdit1->selText();
  const qsizetype lineEnd = seed.indexOf(u'\n');
  if (lineEnd >= 0) {
    seed.truncate(lineEnd);
  }
  FindDialog1->setFindText(seed);
  FindDialog1->present();
}

void TForm1::FindDialog1Find() {
  QTextCursor caret = RichEdit1->textCursor();
  if (caret.hasSelection()) {
    // One past the start of the last hit, so that a hit overlapping it is
    // found next.
    caret.setPosition(std::min(caret.selectionStart() + 1, RichEdit1->textLength()));
    RichEdit1->setTextCursor(caret);
  }

  const QString what = FindDialog1 != nullptr ? FindDialog1->findText() : QString();
  QTextCursor hit;
  if (!what.isEmpty()) {
    QTextDocument::FindFlags flags;
    if (FindDialog1->matchCase()) {
      flags |= QTextDocument::FindCaseSensitively;
    }
    if (FindDialog1->wholeWord()) {
      flags |= QTextDocument::FindWholeWords;
    }
    hit = RichEdit1->document()->find(what, caret, flags);
  }
  if (hit.isNull()) {
    ui().messageBox(nullptr, QStringLiteral("End of document reached."), QStringLiteral("Find/Rep"),
                    MsgButtons::Ok, MsgResult::Ok);
    return;
  }
  RichEdit1->setTextCursor(hit);
  RichEdit1->ensureCursorVisible();
}

} // namespace kavrin
