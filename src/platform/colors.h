#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace kavrin {

// A colour as the settings file stores it: red in the low byte, then green,
// then blue; a set top bit names a system colour by its index instead.
using TColor = std::uint32_t;

inline constexpr TColor clWindow = 0x80000005;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clBlack = 0x00000000;

inline bool isSystemColor(TColor c) { return (c & 0x80000000U) != 0; }

// Resolves a colour for drawing; system colours come from the palette.
QColor toQColor(TColor c, const QPalette &palette);

TColor fromQColor(const QColor &c);

} // namespace kavrin
