#include "platform/gui/uLockKeys.h"

#include "platform/gui/uX11Display.h"

// Xlib last: its macros (None, Bool, Status, ...) would break other headers.
#include <X11/XKBlib.h>

namespace varnik {

namespace {

class TX11LockKeys : public TLockKeys {
 public:
  explicit TX11LockKeys(Display* display) : display_(display) {}

  // The indicator shows the toggle as the user sees it on the keyboard. A
  // keymap that names no such indicator still locks the Lock modifier.
  bool CapsLockOn() const override {
    const Atom name = XInternAtom(display_, "Caps Lock", True);
    Bool on = False;
    if (name != 0 && XkbGetNamedIndicator(display_, name, nullptr, &on, nullptr, nullptr)) return on;
    XkbStateRec state{};
    return XkbGetState(display_, XkbUseCoreKbd, &state) == Success && (state.locked_mods & LockMask) != 0;
  }

 private:
  Display* display_;
};

class TUnknownLockKeys : public TLockKeys {
 public:
  bool CapsLockOn() const override { return false; }
};

}  // namespace

std::unique_ptr<TLockKeys> DisplayLockKeys() {
  if (Display* display = X11Display()) return std::make_unique<TX11LockKeys>(display);
  return std::make_unique<TUnknownLockKeys>();
}

}  // namespace varnik
