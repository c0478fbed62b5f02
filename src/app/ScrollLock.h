// The keyboard's Scroll Lock state, which switches off the one-key steps of the register grids.
// The main window's "Scroll Lock" menu item does the same where the key cannot (a desktop whose
// keymap gives the key no lock, Wayland).
#pragma once

#include <optional>

namespace vantor {

// True while the Scroll Lock LED is lit. Read from the X server on the xcb platform; where it
// cannot be read (other platforms, no X connection) it is taken as off.
bool ScrollLockOn();

// Tests set a fixed state of the key; nullopt returns to the keyboard's.
void SetScrollLockOverride(std::optional<bool> state);

}  // namespace vantor
