// Reads the state of the Caps Lock, Num Lock and Scroll Lock keys from the window system.
// User-interface thread only.
#pragma once

namespace tessimo {

struct LockState {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// The current lock-key state, or all off when the window system cannot say (offscreen,
// Wayland without X).
LockState readLockState();

} // namespace tessimo
