// The keyboard's Scroll Lock state, which switches off the one-key steps of the register grids.
#pragma once

#include <optional>

namespace vantor {

// True while the Scroll Lock LED is lit. Read from the X server on the xcb platform; where it
// cannot be read (other platforms, no X connection) it is taken as off.
bool ScrollLockOn();

// Tests set a fixed state; nullopt returns to the keyboard's.
void SetScrollLockOverride(std::optional<bool> state);

}  // namespace vantor
