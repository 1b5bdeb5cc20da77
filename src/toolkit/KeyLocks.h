#pragma once

// The state of the keyboard's lock keys, as the status-bar indicators show it.
struct KeyLocks {
  bool caps = false;
  bool num = false;
  bool scroll = false;
};

// Reads the lock keys from the X server; all off where the display is not X11.
KeyLocks readKeyLocks();
