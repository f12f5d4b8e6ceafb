// Function keys, AUTO line numbers and the key legend.

#include "app/tform1.h"
#include "editing/auto_number.h"
#include "settings/function_keys.h"
#include "widgets/rich_edit.h"
#include "widgets/status_bar.h"

#include <QAction>

namespace kavrin {

void TForm1::RichEdit1KeyDown(int &Key, Qt::KeyboardModifiers Shift) {
  endCompletionOnKey(*RichEdit1, *this, Key);
  const int index = functionKeyIndex(Key, Shift);
  if (index >= 0) {
    RichEdit1->setSelText(FunctionKeys[index]);
  }
  if (Key == Qt::Key_Insert) {
    // Qt's editor does not switch overwriting on this key by itself.
    InsertMode = !InsertMode;
    RichEdit1->setOverwriteMode(!InsertMode);
    UpdateLegend();
  } else if (Key == Qt::Key_Shift) {
    ShiftDown = true;
    UpdateLegend();
  }
}

void TForm1::RichEdit1KeyUp(int &Key, Qt::KeyboardModifiers /*Shift*/) {
  if (Key == Qt::Key_Shift) {
    ShiftDown = false;
    UpdateLegend();
  }
}

void TForm1::UpdateLegend() {
  for (int panel = 0; panel < 5; ++panel) {
    StatusBar1->setPanelText(panel, FunctionKeys[ShiftDown ? panel + 5 : panel]);
  }
  StatusBar1->setPanelText(5, InsertMode ? QStringLiteral("INS") : QStringLiteral("OVW"));
}

void TForm1::AUTO1Click() { AUTO1->setChecked(!AUTO1->isChecked()); }

void TForm1::autoNumberOnReturn(bool &Handled) {
  if (!AUTO1->isChecked()) {
    return;
  }
  endCompletion(*RichEdit1, *this, true);
  autoNumberReturn(*RichEdit1, AutoAdd);
  Handled = true;
}

} // namespace kavrin
