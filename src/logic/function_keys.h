#pragma once

#include <QString>
#include <Qt>

#include <array>

namespace kavrin {

// The texts of F1-F5 then Shift+F1 to Shift+F5 before any are configured,
// with real CR LF line breaks.
std::array<QString, 10> defaultFunctionKeys();

// The stored values of the function keys before any are configured: each
// text framed by a dot on both sides, line breaks as "(ret)".
std::array<QString, 10> defaultStoredFunctionKeys();

// Between the text in memory (real CR LF) and its stored and edited form,
// where "(ret)" marks each line break.  Matches run left to right, never
// overlap and are case-sensitive.
QString convertKeyText(const QString &text, bool toMarker);

// The text of a stored value: its first and last characters are the frame,
// whatever they are.
QString unframeKeyText(const QString &stored);
QString frameKeyText(const QString &text);

// The index into the ten function-key texts that a key press inserts, or -1:
// F1-F5 give 0-4, with Shift 5-9; with Alt none.  Ctrl is not looked at.
int functionKeyIndex(int key, Qt::KeyboardModifiers modifiers);

} // namespace kavrin
