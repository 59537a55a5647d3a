#pragma once
// The undo history of the map editor. Every operation the editing rules
// announce (TEditListener: one drag, one panel command, one apply of the
// station dialog) becomes one step of a QUndoStack: the history takes the
// map's editable state (uMapState) when the operation starts and when it
// finishes, and the step keeps what differs. An operation that changed
// nothing leaves no step.
//
// Steps refer to lines, stations and segments by their places, so they stay
// right as long as every change of the city goes through the stack: a step
// is undone only after every later step was, and then finds the city as it
// left it. Commands of other kinds pushed onto the same stack change the
// model themselves in redo() and undo() and must not announce operations
// through TMapEditor::Change; while the history applies a step or pushes
// such a command, announced operations are not recorded.

#include <QUndoStack>
#include <functional>
#include <memory>
#include <string>

#include "editor/uMapEditor.h"
#include "editor/uMapState.h"

namespace varnik {

// Steps kept before the oldest are forgotten.
inline constexpr int kUndoLimit = 1000;

class TEditHistory : public TEditListener {
 public:
  // `stack` and `editor` must outlive the history. `changed` runs after a
  // step was undone or redone (the model then changed outside the editing
  // rules); it must drop the editor's selection and rebuild the drawing,
  // as TMapEditor::ModelChanged does. The stack gets the undo limit.
  TEditHistory(QUndoStack& stack, TMapEditor& editor, std::function<void()> changed);
  TEditHistory(const TEditHistory&) = delete;
  TEditHistory& operator=(const TEditHistory&) = delete;

  void OperationStarted(const std::string& caption) override;
  void OperationFinished() override;

  // Whether an operation is under way (a drag not yet released): undoing in
  // its middle would mix its change with the step undone, so Undo and Redo
  // do nothing then.
  bool Busy() const { return depth_ > 0; }
  void Undo();
  void Redo();
  // Pushes a command of another kind; its first redo() does the change.
  // Refused (false, the command dropped) while Busy.
  bool Push(std::unique_ptr<QUndoCommand> command);

 private:
  QUndoStack& stack_;
  TMapEditor& editor_;
  std::function<void()> changed_;
  // Operations may nest (a command run inside a drag); the outermost counts.
  int depth_ = 0;
  bool applying_ = false;
  std::string caption_;
  TMapState before_;
};

}  // namespace varnik
