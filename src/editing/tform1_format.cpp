// The format and edit commands.

#include "app/tform1.h"
#include "widgets/rich_edit.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace kavrin {

void TForm1::ApplyWordWrap() {
  if (Wrap1->isChecked()) {
    RichEdit1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  } else {
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  }
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void TForm1::Undo1Click() { RichEdit1->undo(); }

void TForm1::SelectAll1Click() { RichEdit1->selectAll(); }

void TForm1::Wrap1Click() {
  Wrap1->setChecked(!Wrap1->isChecked());
  ApplyWordWrap();
}

void TForm1::Font1Click() {
  FontDialog1.font = RichEdit1->font();
  FontDialog1.color = RichEdit1->fontColor();
  if (ui().execFontDialog(this, FontDialog1)) {
    RichEdit1->setFont(FontDialog1.font);
    RichEdit1->setFontColor(FontDialog1.color);
  }
}

void TForm1::Back1Click() {
  ColorDialog1 = RichEdit1->color();
  if (ui().execColorDialog(this, ColorDialog1)) {
    RichEdit1->setColor(ColorDialog1);
  }
}

void TForm1::updateEditActions() {
  const bool selected = RichEdit1->textCursor().hasSelection();
  EditCut1->setEnabled(selected);
  EditCopy1->setEnabled(selected);
  const QMimeData *clip = QGuiApplication::clipboard()->mimeData();
  EditPaste1->setEnabled(clip != nullptr && clip->hasText());
}

} // namespace kavrin
