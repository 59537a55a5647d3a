#include "platform/gui/uSlowWork.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <climits>
#include <memory>

#include "platform/uMessages.h"

namespace varnik {

namespace {

constexpr int kDialogDelayMs = 500;

// Stands in as the message sink while the work runs: the worker's messages
// are handed to the sink that was in force, on the thread of `home`, and the
// worker waits for each (a question needs its answer). Messages of the home
// thread itself pass straight on.
class TForwardingSink : public TMessageSink {
 public:
  explicit TForwardingSink(QObject& home) : home_(home), target_(SetMessageSink(this)) {}
  ~TForwardingSink() override { SetMessageSink(target_); }
  TForwardingSink(const TForwardingSink&) = delete;
  TForwardingSink& operator=(const TForwardingSink&) = delete;

  void Show(const std::string& text, TMessageStyle style) override {
    AtHome([&] { ShowMessage(text, style); });
  }
  bool Ask(const std::string& text) override {
    bool yes = false;
    AtHome([&] { yes = AskYesNo(text); });
    return yes;
  }

 private:
  // Runs `deliver` on the home thread with the original sink in force.
  template <typename TDeliver>
  void AtHome(TDeliver deliver) {
    auto withTarget = [&] {
      SetMessageSink(target_);
      deliver();
      SetMessageSink(this);
    };
    if (QThread::currentThread() == home_.thread()) {
      withTarget();
    } else {
      QMetaObject::invokeMethod(&home_, withTarget, Qt::BlockingQueuedConnection);
    }
  }

  QObject& home_;
  TMessageSink* target_;
};

}  // namespace

void RunWithProgress(QWidget* parent, const QString& label, const std::function<void()>& work) {
  QEventLoop loop;
  TForwardingSink forwarding(loop);

  QProgressDialog dialog(label, QString(), 0, 0, parent);
  dialog.setWindowModality(Qt::ApplicationModal);
  if (parent != nullptr) dialog.setWindowTitle(parent->windowTitle());
  // The dialog shows when our own timer says so, never on its own.
  dialog.setMinimumDuration(INT_MAX);
  QTimer showLater;
  showLater.setSingleShot(true);
  QObject::connect(&showLater, &QTimer::timeout, &dialog, &QWidget::show);

  std::unique_ptr<QThread> worker(QThread::create(work));
  QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
  showLater.start(kDialogDelayMs);
  worker->start();
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  worker->wait();
}

}  // namespace varnik
