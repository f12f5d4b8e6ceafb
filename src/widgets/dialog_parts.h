#pragma once

#include <Qt>

class QDialog;
class QDialogButtonBox;

namespace kavrin {

// A small dialog of fixed size with a title bar and a close button only.
inline constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                                     Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                     Qt::WindowCloseButtonHint;

// OK (the default, so that Enter in a field accepts) and キャンセル, wired to
// the dialog's accept and reject; the caller places the box.
QDialogButtonBox *okCancelButtons(QDialog *dialog);

} // namespace kavrin
