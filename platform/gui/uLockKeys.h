#pragma once
// The toggled state of the keyboard's lock keys, asked of the window system
// at the moment it matters. Qt's key modifiers do not carry Caps Lock, and
// key events miss a toggle made while another window had the focus.

#include <memory>

namespace varnik {

class TLockKeys {
 public:
  virtual ~TLockKeys() = default;
  virtual bool CapsLockOn() const = 0;
};

// The lock keys of the display the windows show on. On X11 Caps Lock is the
// keyboard's "Caps Lock" indicator; where the window system cannot be asked
// (offscreen, other window systems) it reads as off.
std::unique_ptr<TLockKeys> DisplayLockKeys();

}  // namespace varnik
