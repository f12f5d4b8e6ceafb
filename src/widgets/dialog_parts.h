#pragma once

#include <Qt>

class QWidget;

class QDialog;
class QDialogButtonBox;
class QLineEdit;
class QString;

namespace kavrin {

// A small dialog of fixed size with a title bar and a close button only.
inline constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                                     Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                     Qt::WindowCloseButtonHint;

// OK (the default, so that Enter in a field accepts) and キャンセル, wired to
// the dialog's accept and reject; the caller places the box.
QDialogButtonBox *okCancelButtons(QDialog *dialog);

class UserInterface;

// Settings are stored as Shift-JIS: a field holding a character it cannot
// hold would lose it at the close.  Says which `field` holds what, selects
// it and gives false; true when every character can be stored.
bool holdsOnlyShiftJis(UserInterface &ui, QWidget *owner, QLineEdit *edit, const QString &field);

} // namespace kavrin
