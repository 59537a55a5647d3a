#pragma once
// The X11 display Qt draws the windows on, for the few things Qt does not
// say or does differently than the windows need (lock keys, empty captions).
// Kept apart so that Xlib's macros reach only the units that need them.

struct _XDisplay;

namespace varnik {

// nullptr when the application does not run on X11 (offscreen, Wayland) or
// no application exists yet.
_XDisplay* X11Display();

}  // namespace varnik
