#pragma once

#include <QColor>

namespace kavrin {

// The colours of the parts of a BASIC line; the rest keeps the font colour.
struct KeywordPalette {
  QColor lineNumber;
  QColor keyword;
  QColor string;
  QColor comment;
  // Of the source form.
  QColor label;
  QColor sourceComment;
};

// Hues that stay readable on `background`: each is as light or as dark
// as it must be for a contrast of 4.5:1 (WCAG), going towards black on light
// backgrounds and towards white on dark ones.
KeywordPalette keywordPalette(const QColor &background);

// The red of the marks under lines with findings, as readable on
// `background` as the keyword colours.
QColor findingColour(const QColor &background);

// The WCAG contrast ratio of two colours, from 1 to 21.
double contrastRatio(const QColor &a, const QColor &b);

// Whether text in `text` reads on `background`: a contrast of at least 3:1.
bool readsOn(const QColor &text, const QColor &background);

// Black or white, whichever contrasts more with `background`; black where
// both do as well.
QColor blackOrWhiteOn(const QColor &background);

} // namespace kavrin
