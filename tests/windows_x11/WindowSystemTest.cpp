// What only a real window system shows: the caption a window manager reads
// for a window and a message box without a caption, and the keyboard's
// Caps Lock as the vector editor's preview reads it.

#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "platform/gui/uLockKeys.h"
#include "platform/gui/uMessageBoxSink.h"
#include "platform/gui/uX11Display.h"
#include "veceditor_windows/VecWindowTestUtil.h"

// Xlib last: its macros would break Qt's headers.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>

using namespace varnik;
using namespace varnik::test;

namespace {

// The caption as a window manager reads it (the UTF-8 name Qt writes).
QString ShownCaption(QWidget& window) {
  Display* display = X11Display();
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, left = 0;
  unsigned char* bytes = nullptr;
  XGetWindowProperty(display, static_cast<Window>(window.winId()),
                     XInternAtom(display, "_NET_WM_NAME", False), 0, 1024, False, AnyPropertyType, &type,
                     &format, &count, &left, &bytes);
  const QString caption =
      QString::fromUtf8(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(count));
  if (bytes != nullptr) XFree(bytes);
  return caption;
}

void LockCaps(bool on) {
  Display* display = X11Display();
  XkbLockModifiers(display, XkbUseCoreKbd, LockMask, on ? LockMask : 0);
  XSync(display, False);
}

}  // namespace

class WindowSystemTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (X11Display() == nullptr) QSKIP("runs on an X server only");
  }

  void aWindowWithoutAFileShowsAnEmptyCaption() {
    auto form = StartWindow({});
    QVERIFY(form);
    QCOMPARE(ShownCaption(*form), QString());
    form->setWindowTitle(QStringLiteral("a.vec"));
    QCOMPARE(ShownCaption(*form), QStringLiteral("a.vec"));
    form->setWindowTitle(QString());
    QCOMPARE(ShownCaption(*form), QString());

    // The "Save?" box carries the window's empty caption as it is.
    QString boxCaption = QStringLiteral("not shown");
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible()) return;
      boxCaption = ShownCaption(*box);
      box->reject();
    });
    poll.start(10);
    TMessageBoxSink(form.get(), std::string()).Ask("Save?");
    QCOMPARE(boxCaption, QString());
  }

  void capsLockIsTheKeyboardsIndicator() {
    const std::unique_ptr<TLockKeys> keys = DisplayLockKeys();
    LockCaps(true);
    QVERIFY(keys->CapsLockOn());
    LockCaps(false);
    QVERIFY(!keys->CapsLockOn());
  }
};

QTEST_MAIN(WindowSystemTest)
#include "WindowSystemTest.moc"
