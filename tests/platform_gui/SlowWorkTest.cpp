// Slow work with its progress dialog: shown modal only once the work takes
// long, gone when it ends; the worker's messages reach the caller's sink on
// the caller's thread.

#include <QApplication>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <atomic>

#include "platform/gui/uSlowWork.h"
#include "platform/uMessages.h"

using namespace varnik;

namespace {

// The progress dialogs shown while it lives.
class TShownDialogs : public QObject {
 public:
  TShownDialogs() { qApp->installEventFilter(this); }
  QStringList Labels;
  bool AllModal = true;

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    auto* dialog = qobject_cast<QProgressDialog*>(receiver);
    if (dialog != nullptr && event->type() == QEvent::Show) {
      Labels << dialog->labelText();
      AllModal = AllModal && dialog->isModal();
    }
    return false;
  }
};

bool ProgressDialogVisible() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (qobject_cast<QProgressDialog*>(widget) != nullptr && widget->isVisible()) return true;
  return false;
}

// Records on which thread each message arrived.
class TThreadSink : public TMessageSink {
 public:
  QStringList Arrived;
  void Show(const std::string& text, TMessageStyle) override { Note(text); }
  bool Ask(const std::string& text) override {
    Note(text);
    return true;
  }

 private:
  void Note(const std::string& text) {
    const bool home = QThread::currentThread() == qApp->thread();
    Arrived << QString::fromStdString(text) + (home ? "@home" : "@worker");
  }
};

}  // namespace

class SlowWorkTest : public QObject {
  Q_OBJECT

 private slots:
  void slowWorkShowsAModalDialogUntilItEnds() {
    TShownDialogs shown;
    std::atomic<bool> release = false;
    // The work lasts until the dialog is up (or, should it never come, for
    // a few seconds at most).
    QTimer poll;
    int polls = 0;
    connect(&poll, &QTimer::timeout, [&] {
      if (ProgressDialogVisible() || ++polls > 250) release = true;
    });
    poll.start(20);
    RunWithProgress(nullptr, QStringLiteral("Working"), [&] {
      while (!release) QThread::msleep(5);
    });
    QCOMPARE(shown.Labels, QStringList{QStringLiteral("Working")});
    QVERIFY(shown.AllModal);
    QVERIFY(!ProgressDialogVisible());
  }

  void quickWorkShowsNoDialog() {
    TShownDialogs shown;
    bool done = false;
    RunWithProgress(nullptr, QStringLiteral("Working"), [&] { done = true; });
    QVERIFY(done);
    QVERIFY(shown.Labels.isEmpty());
  }

  void messagesOfTheWorkReachTheSinkOnTheCallingThread() {
    TThreadSink sink;
    TScopedMessageSink scope(sink);
    bool answer = false;
    RunWithProgress(nullptr, QStringLiteral("Working"), [&] {
      ShowMessage("one");
      answer = AskYesNo("two?");
      ShowMessage("three");
    });
    QCOMPARE(sink.Arrived, (QStringList{"one@home", "two?@home", "three@home"}));
    QVERIFY(answer);
    ShowMessage("after");
    QCOMPARE(sink.Arrived.back(), QStringLiteral("after@home"));
  }
};

QTEST_MAIN(SlowWorkTest)
#include "SlowWorkTest.moc"
