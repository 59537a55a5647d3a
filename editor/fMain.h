#pragma once
// The main window of the map editor: the panel of switches, commands and the
// snippet memo on the left, the drawing area on the right. The window owns
// the city and the editing state; it only lays out the controls and hands
// their events to the editing rules (uMapEditor, uEditorCommands,
// uStationEdit), then repaints.
//
// A menu bar above the panel and the drawing area holds "Файл" and
// "Правка". Every change of the city made in the window is a step of
// UndoStack(): drags, panel commands and the station dialog are recorded by
// the edit history (uEditHistory) as they happen. Commands of other kinds
// (edits of the network) are pushed through History().Push; they change
// the model in their redo() and undo() and then call ModelChanged(), which
// the window hands them as a callback. The stack's indexChanged signal is
// deliberately not tied to ModelChanged: a recorded drag is pushed after
// its change is drawn, and the selection it leaves must stay.

#include <QKeySequence>
#include <QString>
#include <QTimer>
#include <QUndoStack>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "editor/uSettledFrame.h"
#include "journeys/uJourney.h"
#include "platform/uBitmap.h"
#include "platform/uGraphicsTypes.h"
#include "platform/uInterfaceText.h"

class QAction;
class QBoxLayout;
class QCheckBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace varnik {

class TCity;
class TCityStore;
class TEditHistory;
class TJourneyForm;
class TNetworkActions;
class TMainForm;
class TMapEditor;
class TMemo;

// The window caption (UTF-8, before translation); message boxes carry it too.
inline constexpr const char* kMainCaption = VARNIK_TEXT("varnik::TMainForm", "Редактор Метро");

// The drawing area: composes every paint off-screen and passes the mouse on
// to the window.
class TMapPaintBox : public QWidget {
 public:
  TMapPaintBox(TMainForm& form, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  TMainForm& form_;
};

class TMainForm : public QWidget {
  Q_OBJECT

 public:
  // Loads the city of the current directory and shows the map named by
  // `firstArgument` (the program's first argument), or the first map.
  explicit TMainForm(const std::optional<std::string>& firstArgument, QWidget* parent = nullptr);
  ~TMainForm() override;

  TCity& City() { return *city_; }
  TMapEditor& Editor() { return *editor_; }
  QWidget* DrawingArea() { return area_; }
  // The bitmap the last paint was composed in.
  TBitmap& CanvasBitmap() { return canvas_; }
  // Writes the map file and the transport files, as every ten seconds and
  // on closing. A file that cannot be written is reported once until a
  // save succeeds again. False when some file could not be written.
  bool Save();

  QUndoStack& UndoStack() { return undoStack_; }
  TEditHistory& History() { return *history_; }
  QMenu* FileMenu() { return fileMenu_; }
  // "Правка": Отменить, Повторить, a separator, then the network edits.
  QMenu* EditMenu() { return editMenu_; }
  // After a change of the city outside the mouse rules and the panel: drops
  // the selection, rebuilds the map's drawing and repaints.
  void ModelChanged();
  // "Правка -> Схема автоматически...": lays the current map out under a
  // progress dialog; one undoable step unless cancelled.
  void LayOutAutomatically();
  // The network edits of the "Правка" menu.
  TNetworkActions& Network() { return *network_; }

  // Opens the journey planner's window (Ctrl+R), or brings it to the front
  // when it is open already.
  void OpenJourneyWindow();
  // The planner's window, once it has been opened.
  TJourneyForm* JourneyWindow() { return journeyForm_; }
  // Whether a journey is drawn over the map (while the planner's window is
  // open and shows one).
  bool JourneyShown() const { return journey_.has_value(); }

  // How "Открыть город..." asks for a city: the chosen directory, or empty
  // for none. Without one the command does nothing.
  void SetCityChooser(std::function<QString(QWidget* parent)> choose) { chooseCity_ = std::move(choose); }
  // "Открыть город...": saves, asks for a city and, when one is chosen,
  // closes the window (with the checks of closing) so that the program
  // opens that city next.
  void OpenAnotherCity();
  // The city to open once this window has closed; empty: none.
  QString NextCity() const { return nextCity_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  friend class TMapPaintBox;

  void CreatePanel();
  void CreateMenus(QBoxLayout& layout);
  // A window action with its shortcuts (the first is the one shown), found
  // by its object name. Its caption is translated here, as are those of the
  // panel's controls below.
  QAction* AddAction(const char* caption, const char* name, const QList<QKeySequence>& keys,
                     std::function<void()> run);
  QCheckBox* AddCheckBox(QWidget* parent, const char* caption, int x, int y, bool checked, bool enabled);
  QPushButton* AddButton(const char* caption, int x, int y, int width, int height,
                         std::function<void()> action);
  QLineEdit* AddEdit(const char* text, int x, int y, int width, int height);
  // Copies the panel's switches into the editing options.
  void ReadOptions();
  // Runs a panel command and repaints.
  void Run(const std::function<void()>& command);
  void Arrow(int dx, int dy);
  // Draws `journey` (copied) over the map from now on; nullptr: no more.
  void ShowJourney(const TJourney* journey);

  void Paint(QPaintEvent* event);
  void AreaResized(int width, int height);
  void MousePressed(QMouseEvent* event);
  void MouseMoved(QMouseEvent* event);
  void MouseReleased(QMouseEvent* event);
  void MouseDoubleClicked(QMouseEvent* event);
  void WheelTurned(QWheelEvent* event);

  bool hasArgument_;
  bool saving_ = false;
  // Failures of saving already reported; emptied by a save that succeeds.
  std::set<std::string> reportedFailures_;
  QWidget* panel_ = nullptr;
  TMapPaintBox* area_ = nullptr;
  QCheckBox* legends_ = nullptr;
  QCheckBox* stations_ = nullptr;
  QCheckBox* labelBounds_ = nullptr;
  QCheckBox* nodes_ = nullptr;
  QCheckBox* whiteLines_ = nullptr;
  QCheckBox* recordCoordinates_ = nullptr;
  QCheckBox* collectLine_ = nullptr;
  QLineEdit* gridStep_ = nullptr;
  QLineEdit* factor_ = nullptr;
  QPlainTextEdit* memoBox_ = nullptr;
  QMenu* fileMenu_ = nullptr;
  QMenu* editMenu_ = nullptr;
  TNetworkActions* network_ = nullptr;  // a child of the window
  TJourneyForm* journeyForm_ = nullptr;
  std::optional<TJourney> journey_;
  std::function<QString(QWidget*)> chooseCity_;
  QString nextCity_;

  std::unique_ptr<TCity> city_;
  // What the city's files hold, so that saving writes the network's edits.
  std::unique_ptr<TCityStore> store_;
  std::unique_ptr<TMemo> memo_;
  std::unique_ptr<TMapEditor> editor_;
  QUndoStack undoStack_;
  std::unique_ptr<TEditHistory> history_;
  TBitmap canvas_;
  // Runs for half a second after each drag step; meanwhile the picture is
  // drawn without smoothing, so dragging stays quick.
  QTimer settleTimer_;
  // The smoothed picture after a drag, drawn in the background; abandoned
  // (StopSettledFrame) before anything it reads is changed.
  TSettledFrame settled_;
  void StartSettledFrame();
  void StopSettledFrame();
  QTimer saveTimer_;
};

}  // namespace varnik
