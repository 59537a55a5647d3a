#include "editor/uEditHistory.h"

#include "map/uMetroMap.h"
#include "platform/uQtText.h"

namespace varnik {

namespace {

// One recorded operation. It is pushed after its change was made, so its
// first redo() has nothing to do.
class TMapEditCommand : public QUndoCommand {
 public:
  TMapEditCommand(const std::string& caption, TMapChange change, TMapEditor& editor,
                  const std::function<void()>& changed)
      : QUndoCommand(ToQString(caption)), change_(std::move(change)), editor_(editor), changed_(changed) {}

  void redo() override {
    if (pushed_) Apply(true);
    pushed_ = true;
  }
  void undo() override { Apply(false); }

 private:
  void Apply(bool forward) {
    TMetroMap* map = editor_.Map();
    if (map == nullptr) return;
    ApplyMapChange(*map, change_, forward);
    changed_();
  }

  TMapChange change_;
  TMapEditor& editor_;
  std::function<void()> changed_;
  bool pushed_ = false;
};

// Marks the history as applying steps for as long as it lives.
class TApplying {
 public:
  explicit TApplying(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~TApplying() { flag_ = was_; }
  TApplying(const TApplying&) = delete;
  TApplying& operator=(const TApplying&) = delete;

 private:
  bool& flag_;
  bool was_;
};

}  // namespace

TEditHistory::TEditHistory(QUndoStack& stack, TMapEditor& editor, std::function<void()> changed)
    : stack_(stack), editor_(editor), changed_(std::move(changed)) {
  stack_.setUndoLimit(kUndoLimit);
}

void TEditHistory::OperationStarted(const std::string& caption) {
  if (applying_ || depth_++ > 0) return;
  caption_ = caption;
  const TMetroMap* map = editor_.Map();
  before_ = map != nullptr ? CaptureMapState(*map) : TMapState();
}

void TEditHistory::OperationFinished() {
  if (applying_ || depth_ == 0 || --depth_ > 0) return;
  const TMetroMap* map = editor_.Map();
  if (map == nullptr) return;
  TMapChange change = DiffMapStates(before_, CaptureMapState(*map));
  before_ = TMapState();
  if (change.Empty()) return;
  TApplying applying(applying_);
  stack_.push(new TMapEditCommand(caption_, std::move(change), editor_, changed_));
}

void TEditHistory::Undo() {
  if (Busy()) return;
  TApplying applying(applying_);
  stack_.undo();
}

void TEditHistory::Redo() {
  if (Busy()) return;
  TApplying applying(applying_);
  stack_.redo();
}

bool TEditHistory::Push(std::unique_ptr<QUndoCommand> command) {
  if (Busy()) return false;
  TApplying applying(applying_);
  stack_.push(command.release());
  return true;
}

}  // namespace varnik
