#pragma once

#include <QFont>
#include <QString>

namespace kavrin {

// The window's Japanese fonts are Windows fonts.  Where they are not
// installed, they are mapped to an installed Japanese font of the same kind
// (fixed pitch for "ＭＳ ゴシック", proportional for "ＭＳ Ｐゴシック").
void installJapaneseFontSubstitutes();

// The family to ask Qt for: `family` when it is installed, else its first
// installed substitute, else `family` itself.  Asking for a missing family
// directly makes Qt search fontconfig's fallbacks, which is slow.
QString installedFamily(const QString &family);

// `family` (through installedFamily) at a character height in pixels.
QFont pixelFont(const QString &family, int pixels);

// The window's own font, which the menus, the status bar and the dialogs use.
QFont windowFont();
// The editor's font before the settings replace it.
QFont editorDesignFont();

} // namespace kavrin
