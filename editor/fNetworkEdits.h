#pragma once
// The network edits in the editor's "Правка" menu and their small dialogs:
// a new line (name, colour, transport file), renaming, deleting, a line's
// colour, transfers with their walking time, and the mode in which each
// click on the map adds a station to a chosen line. The rules are
// uNetworkEdits'; this only asks the user and pushes the commands onto the
// window's undo history, which then redraws the map without a selection.

#include <QObject>
#include <string>

class QAction;
class QMenu;

namespace varnik {

class TMainForm;
class TMetroMapLine;
class TMetroMapStation;
struct TNetworkEdit;

class TNetworkActions : public QObject {
  Q_OBJECT

 public:
  // Adds the entries to `menu`; a child of `form`.
  TNetworkActions(TMainForm& form, QMenu& menu);

  // The mode of adding stations: on for `line` (of the current map), off
  // with nullptr.
  void AddStationsTo(TMetroMapLine* line);
  TMetroMapLine* AddingTo() const { return addingTo_; }
  // A click (no drag) at (x, y) of the drawing area: in the mode, adds a
  // station there and gives true; otherwise false, and the click is the
  // window's.
  bool Click(int x, int y);

  QAction* AddStationsAction() const { return addStations_; }

 private:
  QAction* Add(QMenu& menu, const char* caption, void (TNetworkActions::*handler)());
  // Pushes the edit, or shows why it was refused.
  void Run(TNetworkEdit edit);
  // The selected stations; with fewer than `count`, a message, then empty.
  std::vector<TMetroMapStation*> Selected(size_t count);
  // Asks for a name, starting from `current` (Windows-1251); false when the
  // user cancelled. `name` is UTF-8.
  bool AskName(const char* title, const std::string& current, std::string& name);

  void NewLine();
  void ToggleAddStations();
  void RenameStation();
  void DeleteStation();
  void RenameLine();
  void LineColor();
  void DeleteLine();
  void AddTransfer();
  void RemoveTransfer();

  TMainForm& form_;
  QAction* addStations_ = nullptr;
  TMetroMapLine* addingTo_ = nullptr;
};

}  // namespace varnik
