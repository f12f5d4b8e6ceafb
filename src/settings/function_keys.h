#pragma once

#include <QString>

#include <array>

namespace kavrin {

// The texts of F1-F5 then Shift+F1 to Shift+F5 before any are configured,
// with real CR LF line breaks.
std::array<QString, 10> defaultFunctionKeys();

} // namespace kavrin
