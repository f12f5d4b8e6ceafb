#pragma once

namespace kavrin {

// The design's Japanese fonts are Windows fonts.  Where they are not
// installed, they are mapped to an installed Japanese font of the same kind
// (fixed pitch for "ＭＳ ゴシック", proportional for "ＭＳ Ｐゴシック").
void installJapaneseFontSubstitutes();

} // namespace kavrin
