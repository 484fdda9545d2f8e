#pragma once
// The main window's keyboard map, in one place: which key presses reach the
// typed-frequency entry and the scan toggle as characters, and which key
// releases count as Ctrl shortcuts.

#include <optional>

class QKeyEvent;

namespace ondaris {

// The character a key press gives to the panel before the focused control:
// Enter and Return as '\r', Space as ' ', and any other printable character
// typed without Ctrl, Alt or Meta (the controller keeps digits and the
// decimal separator and ignores the rest).
std::optional<char> PreviewCharacter(const QKeyEvent& event);

// For a key release with exactly the Ctrl key held (no Shift, Alt or Meta):
// 'A'..'Z', '0'..'9', or '=' for the plus/equals key.
std::optional<char> CtrlReleaseKey(const QKeyEvent& event);

}  // namespace ondaris
