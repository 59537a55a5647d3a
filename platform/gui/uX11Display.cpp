#include "platform/gui/uX11Display.h"

#include <QGuiApplication>

namespace varnik {

_XDisplay* X11Display() {
  if (qGuiApp == nullptr) return nullptr;
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->display() : nullptr;
}

}  // namespace varnik
