#pragma once
// The automatic layout in the editor: run with a progress dialog that can
// cancel it, and kept as one undoable step that holds the map's places,
// labels and segments before and after.

#include <QUndoCommand>
#include <functional>
#include <optional>
#include <string>

#include "layout/uMapGeometry.h"

class QWidget;

namespace varnik {

class TCity;
class TMetroMap;

// Refers to its map by name, so that it stays sound whatever happens to
// the map objects in between; `changed` is called after every undo and redo
// (the window repaints and marks the city edited).
class TLayoutCommand : public QUndoCommand {
 public:
  TLayoutCommand(TCity& city, std::string mapName, TMapGeometry before, TMapGeometry after,
                 std::function<void()> changed);
  void undo() override;
  void redo() override;

 private:
  void Apply(const TMapGeometry& geometry);

  TCity& city_;
  std::string mapName_;
  TMapGeometry before_, after_;
  std::function<void()> changed_;
};

// Lays `map` out showing a progress dialog over `parent`. Nothing when the
// user cancelled.
std::optional<TMapGeometry> LayOutWithProgress(QWidget* parent, const TMetroMap& map);

}  // namespace varnik
