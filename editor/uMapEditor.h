#pragma once
// The editing state of the map editor and the rules of the mouse: which
// points can be edited, what lies under the pointer, selecting, dragging
// points and rectangles, panning, zooming and turning the view, and the
// snippets a click writes into the memo. The window hands its mouse events
// here and repaints afterwards; nothing here needs a window.
//
// The map edited is always the city's CurrentMap. Without one, pointer
// actions change nothing.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/uUtils.h"
#include "vector/uScale.h"

namespace varnik {

class TCity;
class TCoordinate;
class TMemo;
class TMetroMap;
class TMetroMapLine;
class TMetroMapStation;

enum class TMouseButton { None, Left, Right, Middle };
enum class TPointerShape { Arrow, Hand };

// The switches of the panel that the rules read, named after their captions.
struct TEditorOptions {
  bool Legends = true;      // "Линии": legend rectangles are outlined and can be picked
  bool Stations = true;     // "Станции": stations are editable points
  bool LabelBounds = true;  // "Границы названий": label rectangles are outlined and can be picked
  bool Nodes = true;        // "Доп.точки": interior segment nodes are editable points
  bool WhiteLines = false;         // "Белые линии": thin white lines over the routes
  bool RecordCoordinates = false;  // "Записывать коорд.": a click writes its map position
  bool CollectLine = false;        // "Собрать линию": a click on a station writes its route texts
};

// Hears every change of the model as one operation with a start and an end:
// a whole drag, one command, one apply of the station dialog. The start
// comes before anything changed and the end after the drawing was rebuilt,
// so a listener can take the model's state at both ends.
class TEditListener {
 public:
  virtual ~TEditListener() = default;
  virtual void OperationStarted(const std::string& caption) = 0;
  virtual void OperationFinished() = 0;
};

struct TScreenPoint {
  int X = 0;
  int Y = 0;
};

// What a pointer move asks of the window.
struct TMoveResult {
  // A drag step changed the model or the view: restart the settle timer
  // and repaint.
  bool DragStep = false;
  // Without a drag: the pointer shape to show.
  std::optional<TPointerShape> Pointer;
};

class TMapEditor {
 public:
  // `city` and `memo` must outlive the editor.
  TMapEditor(TCity& city, TMemo& memo);
  ~TMapEditor();
  TMapEditor(const TMapEditor&) = delete;
  TMapEditor& operator=(const TMapEditor&) = delete;

  TCity& City;
  TMemo& Memo;
  // Plain mode, zoom up to 20. The window sets OnChange to repaint.
  TScale View;
  // The selected points (station or node coordinates of the map); not owned.
  std::vector<TCoordinate*> Selection;
  // X and Y of each selected point when it was selected, in Selection's
  // order. A drag computes from these, so rounding never accumulates.
  std::vector<std::unique_ptr<TCoordinate>> PressCopies;
  std::vector<TCoordinate*> Hits;
  // A station's LabelRect or a line's LegendRect of the map, or nullptr;
  // RectCopy holds its values from when it was picked.
  TRect* SelectedRect = nullptr;
  TRect RectCopy;
  TMouseButton PressedButton = TMouseButton::None;
  TScreenPoint PressPoint;
  TScreenPoint LastPoint;
  bool DragStarted = false;
  // Size of the point markers and of the hit circle; 0 hides the markers.
  int PointSize = 3;
  TEditorOptions Options;
  // The drawing area's size; zooming and turning keep its centre in place.
  int AreaWidth = 0;
  int AreaHeight = 0;
  TEditListener* Listener = nullptr;  // not owned; may be nullptr

  TMetroMap* Map() const;

  // The points the mouse can pick, in the order they are tested and drawn:
  // with Options.Stations the placed stations (line order, then station
  // order), then with Options.Nodes every segment node but the two ends,
  // placed or not (line, segment, node order).
  std::vector<TCoordinate*> EditablePoints() const;
  // The marker half-size and hit radius in screen pixels:
  // round(PointSize * zoom + 1).
  int MarkerRadius() const;
  // Fills Hits with the editable point under LastPoint (of overlapping
  // points the last in the editable order) and gives their number, 0 or 1.
  size_t HitTest();
  bool IsSelected(const TCoordinate* point) const;
  // A screen point of the drawing area mapped back onto the map.
  TScalePoint ToMap(int x, int y) const;

  // The map station whose coordinate `point` is, or nullptr (a node).
  TMetroMapStation* StationOfPoint(const TCoordinate* point) const;
  // The line holding `station`, or nullptr.
  TMetroMapLine* LineOfStation(const TMetroMapStation* station) const;

  void MousePress(TMouseButton button, int x, int y, bool shift);
  TMoveResult MouseMove(int x, int y);
  // Ends a press; the pointer goes back to the arrow.
  void MouseRelease(int x, int y);
  // The station whose properties a double click at (x, y) opens: the first
  // station around the point, else the first whose label holds it; nullptr
  // when there is none or stations are not shown.
  TMetroMapStation* StationForProperties(int x, int y) const;

  // Runs `change` as one operation of the model (see TEditListener); with
  // `rebuild` the map's drawing is rebuilt after it. Without a map nothing
  // runs.
  void Change(const std::string& caption, const std::function<void()>& change, bool rebuild = true);
  // Empties the selection and the picked rectangle.
  void ClearSelection();
  // The model was changed outside these rules (a step undone or redone, an
  // edit of the network): the selection may name points that are gone, so
  // it is emptied, and the map's drawing is rebuilt.
  void ModelChanged();

 private:
  void RebuildPressCopies();
  bool PickRectangle(const TScalePoint& p);
  void CollectStation(const TScalePoint& p);
  void MoveSelection(int x, int y);
  void MoveRectangle(int x, int y);
  void ResizeRectangle(int x, int y);
  void ZoomAndTurn(int x, int y);
  // Keeps the map point under the centre of the drawing area in place
  // while `change` alters the view.
  void AboutCentre(const std::function<void()>& change);
  TPointerShape PointerAt();
  // A drag of points or of a rectangle is one operation from its first
  // step to the release.
  void DragChanges(const char* caption);
  void FinishDrag();

  bool dragOperation_ = false;
};

}  // namespace varnik
