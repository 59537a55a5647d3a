#include "platform/gui/uWindowCaption.h"

#include <QEvent>
#include <QWidget>

#include "platform/gui/uX11Display.h"

// Xlib last: its macros (None, Bool, Status, ...) would break Qt's headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace varnik {

namespace {

// Qt writes both names the window managers read; both are replaced.
void TellEmptyCaption(Display* display, Window window) {
  const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  static const unsigned char kNothing[] = "";
  XChangeProperty(display, window, netName, utf8, 8, PropModeReplace, kNothing, 0);
  XChangeProperty(display, window, XA_WM_NAME, XA_STRING, 8, PropModeReplace, kNothing, 0);
  XFlush(display);
}

// Lives as a child of the window it watches, so it goes with it.
class TEmptyCaptionKeeper : public QObject {
 public:
  explicit TEmptyCaptionKeeper(QWidget& window) : QObject(&window), window_(window) {
    setObjectName(QStringLiteral("EmptyCaptionKeeper"));
    window.installEventFilter(this);
    Apply();
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    // Qt has told the window system its caption when these arrive.
    const QEvent::Type type = event->type();
    if (watched == &window_ &&
        (type == QEvent::WindowTitleChange || type == QEvent::WinIdChange || type == QEvent::Show))
      Apply();
    return false;
  }

 private:
  void Apply() {
    if (!window_.windowTitle().isEmpty() || !window_.testAttribute(Qt::WA_WState_Created)) return;
    if (Display* display = X11Display()) TellEmptyCaption(display, static_cast<Window>(window_.winId()));
  }

  QWidget& window_;
};

}  // namespace

void KeepEmptyCaptionEmpty(QWidget& window) {
  if (window.findChild<QObject*>(QStringLiteral("EmptyCaptionKeeper"), Qt::FindDirectChildrenOnly)) return;
  new TEmptyCaptionKeeper(window);
}

}  // namespace varnik
