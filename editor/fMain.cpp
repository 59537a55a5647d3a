#include "editor/fMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QWheelEvent>
#include <set>

#include "city/uCity.h"
#include "city/uCityStore.h"
#include "editor/fJourney.h"
#include "editor/fNetworkEdits.h"
#include "editor/fStationProperties.h"
#include "editor/uEditorCommands.h"
#include "editor/uEditHistory.h"
#include "editor/uLayoutStep.h"
#include "editor/uEditorPainter.h"
#include "editor/uMapEditor.h"
#include "editor/uMapExport.h"
#include "editor/uMemo.h"
#include "editor/uStationEdit.h"
#include "export/gui/uExportDialog.h"
#include "map/uSettings.h"
#include "platform/uCodePage.h"
#include "platform/gui/uSlowWork.h"
#include "platform/uMessages.h"
#include "platform/uQtText.h"

namespace varnik {

namespace {

constexpr int kPanelWidth = 180;
constexpr int kSettleMs = 500;
constexpr int kSaveMs = 10000;

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// The memo as the editing rules see it: Windows-1251 text with CR LF line
// ends, kept in the panel's text box.
class TWidgetMemo : public TMemo {
 public:
  explicit TWidgetMemo(QPlainTextEdit& box) : box_(box) {}
  std::string Text() const override { return ReplaceAll(FromQString(box_.toPlainText()), "\n", "\r\n"); }
  void SetText(const std::string& text) override {
    box_.setPlainText(ToQString(ReplaceAll(text, "\r\n", "\n")));
    box_.moveCursor(QTextCursor::End);
  }

 private:
  QPlainTextEdit& box_;
};

// Passes the messages of one save on to the sink in force, except those
// already shown by an earlier save that failed the same way: the timer
// saves every ten seconds, and a file that stays unwritable is reported
// once, not every ten seconds.
class TSaveReports : public TMessageSink {
 public:
  explicit TSaveReports(std::set<std::string>& shown) : shown_(shown), next_(SetMessageSink(this)) {}
  ~TSaveReports() override { SetMessageSink(next_); }
  TSaveReports(const TSaveReports&) = delete;
  TSaveReports& operator=(const TSaveReports&) = delete;

  void Show(const std::string& text, TMessageStyle style) override {
    if (!shown_.insert(text).second) return;
    SetMessageSink(next_);
    ShowMessage(text, style);
    SetMessageSink(this);
  }
  bool Ask(const std::string& text) override {
    SetMessageSink(next_);
    const bool yes = AskYesNo(text);
    SetMessageSink(this);
    return yes;
  }

 private:
  std::set<std::string>& shown_;
  TMessageSink* next_;
};

// Asked when closing finds files that could not be written.
constexpr const char* kCloseUnsavedQuestion = VARNIK_TEXT("varnik::TMainForm", "Не все изменения сохранены. Закрыть без сохранения?");

TMouseButton ButtonOf(const QMouseEvent& event) {
  switch (event.button()) {
    case Qt::LeftButton:
      return TMouseButton::Left;
    case Qt::RightButton:
      return TMouseButton::Right;
    case Qt::MiddleButton:
      return TMouseButton::Middle;
    default:
      return TMouseButton::None;
  }
}

TColor ToColor(const QColor& c) { return c.red() + 256 * c.green() + 65536 * c.blue(); }

}  // namespace

// --- The drawing area ----------------------------------------------------

TMapPaintBox::TMapPaintBox(TMainForm& form, QWidget* parent) : QWidget(parent), form_(form) {
  setObjectName("PaintBox");
  setMouseTracking(true);
  // A click on the map takes the focus from the panel's text boxes, so that
  // Ctrl+Z then undoes the last edit of the map, not their typing.
  setFocusPolicy(Qt::ClickFocus);
  // Every pixel is painted from the off-screen bitmap.
  setAttribute(Qt::WA_OpaquePaintEvent);
  QFont areaFont(Text("hooge 05_55 Cyr"));
  areaFont.setPixelSize(10);
  setFont(areaFont);
}

void TMapPaintBox::paintEvent(QPaintEvent* event) { form_.Paint(event); }
void TMapPaintBox::resizeEvent(QResizeEvent*) { form_.AreaResized(width(), height()); }
void TMapPaintBox::mousePressEvent(QMouseEvent* event) { form_.MousePressed(event); }
void TMapPaintBox::mouseMoveEvent(QMouseEvent* event) { form_.MouseMoved(event); }
void TMapPaintBox::mouseReleaseEvent(QMouseEvent* event) { form_.MouseReleased(event); }
void TMapPaintBox::mouseDoubleClickEvent(QMouseEvent* event) { form_.MouseDoubleClicked(event); }
void TMapPaintBox::wheelEvent(QWheelEvent* event) { form_.WheelTurned(event); }

// --- The window ----------------------------------------------------------

TMainForm::TMainForm(const std::optional<std::string>& firstArgument, QWidget* parent)
    : QWidget(parent), hasArgument_(firstArgument.has_value()) {
  setObjectName("MainForm");
  setWindowTitle(tr(kMainCaption));
  resize(788, 645);
  CreatePanel();
  area_ = new TMapPaintBox(*this, this);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(panel_);
  layout->addWidget(area_, 1);

  city_ = std::make_unique<TCity>();
  memo_ = std::make_unique<TWidgetMemo>(*memoBox_);
  editor_ = std::make_unique<TMapEditor>(*city_, *memo_);
  editor_->View.OnChange = [this] { area_->update(); };
  history_ = std::make_unique<TEditHistory>(undoStack_, *editor_, [this] { ModelChanged(); });
  editor_->Listener = history_.get();
  ReadOptions();
  CreateMenus(*layout);
  network_ = new TNetworkActions(*this, *editMenu_);

  // A large city takes a while to load; from half a second on a dialog says so.
  RunWithProgress(this, tr("Загрузка города..."), [&] {
    city_->LoadFromDir(firstArgument);
    if (firstArgument) city_->SelectMap(*firstArgument);
  });
  store_ = std::make_unique<TCityStore>(*city_);
  memoBox_->clear();
  LoadSettings();

  settleTimer_.setSingleShot(true);
  settleTimer_.setInterval(kSettleMs);
  connect(&settleTimer_, &QTimer::timeout, this, [this] {
    if (Settings().SmoothLevel != 1) StartSettledFrame();
  });
  saveTimer_.setInterval(kSaveMs);
  connect(&saveTimer_, &QTimer::timeout, this, [this] { Save(); });
  saveTimer_.start();
}

TMainForm::~TMainForm() {
  StopSettledFrame();
  // The editor refers to the city and the memo, the history and the steps
  // to the editor; they go first.
  editor_->Listener = nullptr;
  undoStack_.clear();
  history_.reset();
  editor_.reset();
}

QAction* TMainForm::AddAction(const char* caption, const char* name, const QList<QKeySequence>& keys,
                              std::function<void()> run) {
  auto* action = new QAction(tr(caption), this);
  action->setObjectName(name);
  action->setShortcuts(keys);
  connect(action, &QAction::triggered, this, std::move(run));
  QWidget::addAction(action);
  return action;
}

void TMainForm::CreateMenus(QBoxLayout& layout) {
  // The bar sits above the panel and the drawing area, so every control of
  // the panel keeps its place within the panel.
  auto* bar = new QMenuBar(this);
  bar->setObjectName("MenuBar");
  layout.setMenuBar(bar);

  // Export and printing of the current map and the journey planner answer
  // their keys even in the panel's text boxes.
  const QKeySequence exportKeys(Qt::CTRL | Qt::Key_E), printKeys(Qt::CTRL | Qt::Key_P),
      journeyKeys(Qt::CTRL | Qt::Key_R);
  for (const QKeySequence& keys : {exportKeys, printKeys, journeyKeys}) KeepShortcutForWindow(*this, keys);
  AddAction(QT_TR_NOOP("Маршрут..."), "JourneyAction", {journeyKeys}, [this] { OpenJourneyWindow(); });
  fileMenu_ = bar->addMenu(tr("Файл"));
  fileMenu_->addAction(AddAction(QT_TR_NOOP("Открыть город..."), "OpenCityAction",
                                 {QKeySequence(Qt::CTRL | Qt::Key_O)}, [this] { OpenAnotherCity(); }));
  fileMenu_->addSeparator();
  fileMenu_->addAction(AddAction(QT_TR_NOOP("Сохранить"), "SaveAction", {QKeySequence(Qt::CTRL | Qt::Key_S)},
                                 [this] { Save(); }));
  fileMenu_->addAction(AddAction(QT_TR_NOOP("Экспорт..."), "ExportAction", {exportKeys},
                                 [this] { ExportMap(this, *city_); }));
  fileMenu_->addAction(
      AddAction(QT_TR_NOOP("Печать..."), "PrintAction", {printKeys}, [this] { PrintMap(this, *city_); }));
  fileMenu_->addSeparator();
  fileMenu_->addAction(AddAction(QT_TR_NOOP("Закрыть"), "CloseAction", {}, [this] { close(); }));

  // The text boxes keep Ctrl+Z for their own typing while they have the focus.
  editMenu_ = bar->addMenu(tr("Правка"));
  QAction* undo = AddAction(QT_TR_NOOP("Отменить"), "UndoAction", {QKeySequence(Qt::CTRL | Qt::Key_Z)},
                            [this] { history_->Undo(); });
  const QList<QKeySequence> redoKeys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                     QKeySequence(Qt::CTRL | Qt::Key_Y)};
  QAction* redo = AddAction(QT_TR_NOOP("Повторить"), "RedoAction", redoKeys, [this] { history_->Redo(); });
  undo->setEnabled(false);
  redo->setEnabled(false);
  connect(&undoStack_, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
  connect(&undoStack_, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
  editMenu_->addAction(undo);
  editMenu_->addAction(redo);
  editMenu_->addSeparator();
  editMenu_->addAction(AddAction(QT_TR_NOOP("Схема автоматически..."), "LayoutAction", {}, [this] { LayOutAutomatically(); }));
}

void TMainForm::LayOutAutomatically() {
  TMetroMap* map = city_->CurrentMap;
  if (map == nullptr || history_->Busy()) return;
  std::optional<TMapGeometry> after = LayOutWithProgress(this, *map);
  if (!after) return;
  history_->Push(std::make_unique<TLayoutCommand>(*city_, map->Name, CaptureGeometry(*map), std::move(*after),
                                                  [this] { ModelChanged(); }));
}

void TMainForm::ModelChanged() {
  editor_->ModelChanged();
  area_->update();
}

QCheckBox* TMainForm::AddCheckBox(QWidget* parent, const char* caption, int x, int y, bool checked,
                                  bool enabled) {
  auto* box = new QCheckBox(tr(caption), parent);
  box->setGeometry(x, y, 150, 17);
  box->setChecked(checked);
  box->setEnabled(enabled);
  box->setFocusPolicy(Qt::NoFocus);
  connect(box, &QCheckBox::toggled, this, [this] {
    StopSettledFrame();
    ReadOptions();
    area_->update();
  });
  return box;
}

QPushButton* TMainForm::AddButton(const char* caption, int x, int y, int width, int height,
                                  std::function<void()> action) {
  auto* button = new QPushButton(tr(caption), panel_);
  button->setGeometry(x, y, width, height);
  button->setFocusPolicy(Qt::NoFocus);
  connect(button, &QPushButton::clicked, this, [this, action = std::move(action)] { Run(action); });
  return button;
}

QLineEdit* TMainForm::AddEdit(const char* text, int x, int y, int width, int height) {
  auto* edit = new QLineEdit(Text(text), panel_);
  edit->setGeometry(x, y, width, height);
  return edit;
}

void TMainForm::CreatePanel() {
  panel_ = new QWidget(this);
  panel_->setObjectName("Panel");
  panel_->setFixedWidth(kPanelWidth);
  // The panel's captions were laid out for a narrow 8-point face.
  QFont small(Text("Arial"));
  small.setPointSize(8);
  panel_->setFont(small);

  auto* show = new QGroupBox(tr("Показывать"), panel_);
  show->setGeometry(5, 0, 161, 181);
  AddCheckBox(show, QT_TR_NOOP("Карта"), 8, 16, true, false);
  legends_ = AddCheckBox(show, QT_TR_NOOP("Линии"), 8, 36, true, false);
  stations_ = AddCheckBox(show, QT_TR_NOOP("Станции"), 8, 56, true, true);
  AddCheckBox(show, QT_TR_NOOP("Названия станций"), 8, 76, false, false);
  labelBounds_ = AddCheckBox(show, QT_TR_NOOP("Границы названий"), 8, 96, true, true);
  AddCheckBox(show, QT_TR_NOOP("Пересадки"), 8, 116, true, false);
  nodes_ = AddCheckBox(show, QT_TR_NOOP("Доп.точки"), 8, 136, true, true);
  AddCheckBox(show, QT_TR_NOOP("Пути"), 8, 156, false, false);

  whiteLines_ = AddCheckBox(panel_, QT_TR_NOOP("Белые линии"), 5, 191, false, true);
  recordCoordinates_ = AddCheckBox(panel_, QT_TR_NOOP("Записывать коорд."), 5, 205, false, true);
  collectLine_ = AddCheckBox(panel_, QT_TR_NOOP("Собрать линию"), 5, 221, false, true);
  for (QCheckBox* box : {whiteLines_, recordCoordinates_, collectLine_}) box->setFixedWidth(125);

  // The four arrows are the only buttons that take the keyboard focus.
  AddButton("/\\", 140, 189, 16, 16, [this] { Arrow(0, -1); })->setFocusPolicy(Qt::StrongFocus);
  AddButton("<", 132, 205, 16, 16, [this] { Arrow(-1, 0); })->setFocusPolicy(Qt::StrongFocus);
  AddButton(">", 149, 205, 16, 16, [this] { Arrow(1, 0); })->setFocusPolicy(Qt::StrongFocus);
  AddButton("\\/", 140, 221, 16, 16, [this] { Arrow(0, 1); })->setFocusPolicy(Qt::StrongFocus);

  AddButton("Размер точек", 5, 245, 161, 22,
            [this] { CyclePointSize(*editor_, QGuiApplication::keyboardModifiers() & Qt::ShiftModifier); });
  AddButton("Уменьшить по шрифту", 5, 269, 161, 22, [this] { FitLabels(*editor_, canvas_.Canvas()); });
  AddButton("Выровнять по сетке", 5, 293, 136, 22,
            [this] { SnapToGrid(*editor_, FromQString(gridStep_->text())); });
  gridStep_ = AddEdit("5", 144, 293, 21, 21);
  AddButton("Доп.точка", 5, 317, 101, 22, [this] { InsertNode(*editor_, false); });
  AddButton("Сплайн", 109, 317, 57, 22, [this] { InsertNode(*editor_, true); });
  AddButton("Пересадка", 5, 341, 73, 22, [this] { WriteTransferLine(*editor_); });
  AddButton("Поиск перес.", 81, 341, 85, 22, [this] { ToggleTransfer(*editor_); });
  AddButton("Выровнять точки", 5, 365, 161, 22, [this] { AlignPoints(*editor_); });
  AddButton("Умножить все на", 5, 397, 113, 22, [this] { ScaleMap(*editor_, FromQString(factor_->text())); });
  factor_ = AddEdit("1", 123, 398, 43, 19);

  memoBox_ = new QPlainTextEdit(panel_);
  memoBox_->setObjectName("Memo");
  memoBox_->setGeometry(5, 436, 161, 129);
  memoBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
  AddButton("Копировать в буфер", 5, 566, 161, 22,
            [this] { QGuiApplication::clipboard()->setText(memoBox_->toPlainText()); });
  AddButton("Очистить", 5, 590, 161, 22, [this] { memoBox_->clear(); });
}

void TMainForm::ReadOptions() {
  TEditorOptions& o = editor_->Options;
  o.Legends = legends_->isChecked();
  o.Stations = stations_->isChecked();
  o.LabelBounds = labelBounds_->isChecked();
  o.Nodes = nodes_->isChecked();
  o.WhiteLines = whiteLines_->isChecked();
  o.RecordCoordinates = recordCoordinates_->isChecked();
  o.CollectLine = collectLine_->isChecked();
}

void TMainForm::Run(const std::function<void()>& command) {
  StopSettledFrame();
  command();
  area_->update();
}

void TMainForm::Arrow(int dx, int dy) {
  const Qt::KeyboardModifiers keys = QGuiApplication::keyboardModifiers();
  const int step = ShiftStep(keys & Qt::ShiftModifier, keys & Qt::ControlModifier);
  StopSettledFrame();
  ShiftMap(*editor_, dx * step, dy * step);
}

bool TMainForm::Save() {
  // A timer tick while the message box of a failed save is open must not
  // start a second save inside the first, nor one read the city while the
  // settled picture is drawn from it.
  if (saving_) return false;
  saving_ = true;
  bool saved = false;
  {
    TSaveReports reports(reportedFailures_);
    saved = store_->Save(!hasArgument_);
  }
  if (saved) reportedFailures_.clear();
  saving_ = false;
  return saved;
}

void TMainForm::OpenJourneyWindow() {
  if (journeyForm_ == nullptr) {
    journeyForm_ = new TJourneyForm(*city_, [this](const TJourney* journey) { ShowJourney(journey); }, this);
  }
  journeyForm_->show();
  journeyForm_->raise();
  journeyForm_->activateWindow();
}

void TMainForm::ShowJourney(const TJourney* journey) {
  StopSettledFrame();
  journey_.reset();
  if (journey != nullptr) journey_ = *journey;
  area_->update();
}

void TMainForm::OpenAnotherCity() {
  if (!chooseCity_) return;
  // The chooser may be left open for long; what is edited is on disk meanwhile.
  Save();
  const QString dir = chooseCity_(this);
  if (dir.isEmpty()) return;
  nextCity_ = dir;
  if (!close()) nextCity_.clear();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // Closing is the last chance for the edits: every file that cannot be
  // written is reported again, also one the timer has reported before, and
  // the window stays open unless the user agrees to lose what is unsaved.
  reportedFailures_.clear();
  StopSettledFrame();
  if (Save() || AskYesNo(FromQString(tr(kCloseUnsavedQuestion)))) {
    event->accept();
  } else {
    event->ignore();
  }
}

// --- Drawing area events -------------------------------------------------

void TMainForm::Paint(QPaintEvent*) {
  QPainter painter(area_);
  if (const TBitmap* settled = settled_.Finished()) {
    painter.drawImage(0, 0, settled->Image());
    return;
  }
  const int level = settleTimer_.isActive() || settled_.Running() ? 1 : Settings().SmoothLevel;
  PaintEditor(*editor_, canvas_, level, ToColor(palette().color(QPalette::Window)),
              journey_ ? &*journey_ : nullptr);
  painter.drawImage(0, 0, canvas_.Image());
}

void TMainForm::StartSettledFrame() {
  const int level = Settings().SmoothLevel;
  const TColor background = ToColor(palette().color(QPalette::Window));
  settled_.Start(
      canvas_.Width(), canvas_.Height(),
      [this, level, background](TBitmap& picture) {
        PaintEditor(*editor_, picture, level, background, journey_ ? &*journey_ : nullptr);
      },
      [this] { QMetaObject::invokeMethod(this, [this] { area_->update(); }, Qt::QueuedConnection); });
}

void TMainForm::StopSettledFrame() {
  // A click or drag while the smoothed picture is drawn is handled at once:
  // the picture is dropped, and drawn again once the map has settled.
  if (settled_.Running()) settleTimer_.start();
  settled_.Abandon();
}

void TMainForm::AreaResized(int width, int height) {
  StopSettledFrame();
  canvas_.SetSize(width, height);
  editor_->AreaWidth = width;
  editor_->AreaHeight = height;
}

void TMainForm::MousePressed(QMouseEvent* event) {
  StopSettledFrame();
  const QPoint p = event->position().toPoint();
  editor_->MousePress(ButtonOf(*event), p.x(), p.y(), event->modifiers() & Qt::ShiftModifier,
                      event->modifiers() & Qt::ControlModifier);
  area_->update();
}

void TMainForm::MouseMoved(QMouseEvent* event) {
  // Without a button held the mouse only looks at the map.
  if (event->buttons() != Qt::NoButton) StopSettledFrame();
  const QPoint p = event->position().toPoint();
  const TMoveResult result = editor_->MouseMove(p.x(), p.y());
  if (result.DragStep) {
    settleTimer_.start();
    area_->update();
  }
  if (result.Pointer)
    area_->setCursor(*result.Pointer == TPointerShape::Hand ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TMainForm::MouseReleased(QMouseEvent* event) {
  StopSettledFrame();
  const QPoint p = event->position().toPoint();
  const bool click = event->button() == Qt::LeftButton && !editor_->DragStarted;
  editor_->MouseRelease(p.x(), p.y());
  // While stations are being added, a click also puts one there.
  if (click) network_->Click(p.x(), p.y());
  area_->setCursor(Qt::ArrowCursor);
  area_->update();
}

void TMainForm::WheelTurned(QWheelEvent* event) {
  const QPoint p = event->position().toPoint();
  editor_->WheelZoom(p.x(), p.y(), event->angleDelta().y());
  // Quick pictures while the wheel turns, as while dragging.
  settleTimer_.start();
  event->accept();
}

void TMainForm::MouseDoubleClicked(QMouseEvent* event) {
  StopSettledFrame();
  const QPoint p = event->position().toPoint();
  TMetroMapStation* station =
      event->button() == Qt::LeftButton ? editor_->StationForProperties(p.x(), p.y()) : nullptr;
  if (station == nullptr) {
    // Without a station it is an ordinary second press.
    MousePressed(event);
    return;
  }
  TStationPropertiesForm dialog(*station, this);
  if (dialog.exec() == QDialog::Accepted) ApplyStationFields(*editor_, *station, dialog.Fields());
  area_->update();
}

}  // namespace varnik
