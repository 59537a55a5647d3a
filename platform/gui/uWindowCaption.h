#pragma once
// Empty window captions that stay empty. Qt hands an empty caption to the
// window system as the program's name (and a name set to empty falls back to
// the program's file name), so a window without a document, and the message
// boxes that carry its caption, would show "VarnikVecEditor" where the user
// expects nothing.

class QWidget;

namespace varnik {

// From now on, whenever `window` (a top-level window) has an empty caption,
// the window system is told it is empty: at once, when the window is
// created or shown, and after every change of its caption. Calling it again
// for the same window does nothing more. Only X11 is told; elsewhere Qt's
// own caption stays.
void KeepEmptyCaptionEmpty(QWidget& window);

}  // namespace varnik
