#include "veceditor/fMain.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

#include "platform/gui/uWindowCaption.h"
#include "platform/uCanvas.h"
#include "platform/uCodePage.h"
#include "platform/uFiles.h"
#include "platform/uMessages.h"
#include "platform/uQtText.h"
#include "veceditor/uPointEdits.h"
#include "export/gui/uExportDialog.h"
#include "veceditor/uVecExport.h"
#include "veceditor/uVecOptions.h"

namespace varnik {

namespace {

constexpr int kAutoSaveInterval = 6000;
// After the last movement of a drag the preview is drawn quickly for this
// long before the configured smoothing comes back.
constexpr int kSettleInterval = 500;
constexpr int kToolBarHeight = 31;
constexpr int kMemoWidth = 151;
constexpr int kCommandColumnWidth = 74;
// The nudge buttons move points by this much, ten times as far with Shift.
constexpr long double kNudgeStep = 1;
constexpr long double kShiftNudgeStep = 10;

QPushButton* AddButton(QWidget* parent, const QString& caption, int left, int top, int width, int height) {
  auto* button = new QPushButton(caption, parent);
  button->setGeometry(left, top, width, height);
  button->setFocusPolicy(Qt::TabFocus);
  return button;
}

QLineEdit* AddEdit(QWidget* parent, const QString& text, int left, int top, int width, int height,
                   const QString& name) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(name);
  edit->setGeometry(left, top, width, height);
  edit->setTextMargins(0, 0, 0, 0);
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  edit->setPalette(palette);
  return edit;
}

QCheckBox* AddCheckBox(QWidget* parent, const QString& caption, int left, int top, bool checked) {
  auto* box = new QCheckBox(caption, parent);
  box->move(left, top);
  box->adjustSize();
  box->setChecked(checked);
  return box;
}

void AddLabel(QWidget* parent, const QString& caption, int left, int top) {
  auto* label = new QLabel(caption, parent);
  label->move(left, top);
  label->adjustSize();
}

// The font of the elapsed time on the preview: "Arial" with a cell (ascent
// plus descent) 16 pixels high.
QFont TimeFont() {
  constexpr int kCellHeight = 16;
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(kCellHeight);
  const QFontMetrics metrics(font);
  const int cell = metrics.ascent() + metrics.descent();
  if (cell > 0) font.setPixelSize(std::max(1, kCellHeight * kCellHeight / cell));
  return font;
}

TPointerEvent PointerEventOf(const QMouseEvent& event, TPointerButton button) {
  TPointerEvent pointer;
  pointer.X = static_cast<int32_t>(std::floor(event.position().x()));
  pointer.Y = static_cast<int32_t>(std::floor(event.position().y()));
  pointer.Button = button;
  pointer.Shift = event.modifiers() & Qt::ShiftModifier;
  pointer.Ctrl = event.modifiers() & Qt::ControlModifier;
  pointer.Alt = event.modifiers() & Qt::AltModifier;
  return pointer;
}

}  // namespace

// --- Preview area --------------------------------------------------------

TPreviewPaintBox::TPreviewPaintBox(MainForm& form) : form_(form) {
  setObjectName(QStringLiteral("PaintBox"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(1, 1);
}

void TPreviewPaintBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  form_.PaintPreview(painter);
}

void TPreviewPaintBox::resizeEvent(QResizeEvent*) { form_.PreviewResized(); }

void TPreviewPaintBox::mousePressEvent(QMouseEvent* event) {
  TPointerButton button = TPointerButton::None;
  if (event->button() == Qt::LeftButton) button = TPointerButton::Left;
  else if (event->button() == Qt::RightButton) button = TPointerButton::Right;
  else return;
  TPointerEvent pointer = PointerEventOf(*event, button);
  pointer.OtherButtons = (event->buttons() & ~event->button()) != Qt::NoButton;
  pointer.CapsLock = form_.lockKeys_->CapsLockOn();
  form_.Preview().Press(pointer);
}

void TPreviewPaintBox::mouseMoveEvent(QMouseEvent* event) {
  form_.Preview().Move(PointerEventOf(*event, form_.Preview().PressedButton));
}

void TPreviewPaintBox::mouseReleaseEvent(QMouseEvent*) { form_.Preview().Release(); }

void TPreviewPaintBox::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta == 0) return;
  form_.Preview().Wheel(delta > 0, width(), height());
}

// --- Start-up ------------------------------------------------------------

MainForm::MainForm(const QStringList& arguments, const std::string& settingsPath)
    : document_(std::make_unique<TVectorImage>()) {
  EnsureGuiApplication();
  lockKeys_ = DisplayLockKeys();
  setObjectName(QStringLiteral("MainForm"));
  // Without a file the caption is empty, not the program's name.
  KeepEmptyCaptionEmpty(*this);
  setGeometry(42, 36, 823, 602);
  // The controls are laid out in pixels for a small sans-serif face (an
  // 11-pixel "Arial"); a larger default font would not fit their captions.
  QFont controlsFont(QStringLiteral("Arial"));
  controlsFont.setPixelSize(11);
  setFont(controlsFont);
  timeFont_ = TimeFont();

  // Window and controls.
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* toolBar = new QWidget(this);
  toolBar->setObjectName(QStringLiteral("ToolBar"));
  toolBar->setFixedHeight(kToolBarHeight);
  CreateToolBar(toolBar);
  layout->addWidget(toolBar);

  auto* splitter = new QSplitter(Qt::Horizontal, this);
  auto* work = new QWidget(splitter);
  auto* workLayout = new QHBoxLayout(work);
  workLayout->setContentsMargins(0, 0, 0, 0);
  workLayout->setSpacing(0);
  paintBox_ = new TPreviewPaintBox(*this);
  workLayout->addWidget(paintBox_, 1);
  workLayout->addWidget(CreateCommandColumn());
  memo_ = new QPlainTextEdit(splitter);
  memo_->setObjectName(QStringLiteral("Memo"));
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  splitter->addWidget(work);
  splitter->addWidget(memo_);
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 0);
  splitter->setSizes({width() - kMemoWidth, kMemoWidth});
  layout->addWidget(splitter, 1);

  autoSaveTimer_.setObjectName(QStringLiteral("AutoSaveTimer"));
  autoSaveTimer_.setInterval(kAutoSaveInterval);
  settleTimer_.setObjectName(QStringLiteral("SettleTimer"));
  settleTimer_.setInterval(kSettleInterval);
  settleTimer_.setSingleShot(true);
  ConnectHandlers();
  autoSaveTimer_.start();

  // The document.
  TVectorImage::SetSmooth(false);
  document_->DrawPolygons = polyBox_->isChecked();
  preview_ = std::make_unique<TPreview>(*document_, *this);

  // The file of the command line.
  std::vector<std::string> args;
  for (const QString& argument : arguments) args.push_back(FromQString(argument));
  SetCaption();
  if (!args.empty()) OpenFile(args.front());

  // The preview: centred on the image, repainted on every change of the view.
  preview_->SetUpView(paintBox_->width(), paintBox_->height());
  preview_->View.OnChange = [this] { paintBox_->update(); };
  canvasBitmap_.SetSize(paintBox_->width(), paintBox_->height());

  autoSaveBox_->setChecked(AutoSaveFromArguments(args));
  smoothLevel_ = ReadSmoothLevel(settingsPath);
  modified_ = false;
}

MainForm::~MainForm() = default;

void MainForm::CreateToolBar(QWidget* toolBar) {
  auto button = [this, toolBar](const char* caption, int left, int top, int width, int height, auto action) {
    QPushButton* added = AddButton(toolBar, QString::fromUtf8(caption), left, top, width, height);
    connect(added, &QPushButton::clicked, this, action);
  };
  button("Open", 5, 2, 52, 21, [this] { OpenClicked(); });
  button("<", 69, 5, 13, 13, [this] { NudgeClicked(-1, 0); });
  button("/\\", 85, -2, 13, 13, [this] { NudgeClicked(0, -1); });
  button("\\/", 85, 13, 13, 13, [this] { NudgeClicked(0, 1); });
  button(">", 101, 5, 13, 13, [this] { NudgeClicked(1, 0); });
  minXEdit_ = AddEdit(toolBar, QStringLiteral("-1000"), 118, -4, 42, 17, QStringLiteral("MinX"));
  minYEdit_ = AddEdit(toolBar, QStringLiteral("-1000"), 118, 12, 42, 17, QStringLiteral("MinY"));
  AddLabel(toolBar, QStringLiteral("< x <"), 163, -3);
  AddLabel(toolBar, QStringLiteral("< y <"), 163, 12);
  maxXEdit_ = AddEdit(toolBar, QStringLiteral("10000"), 188, -4, 42, 17, QStringLiteral("MaxX"));
  maxYEdit_ = AddEdit(toolBar, QStringLiteral("10000"), 188, 11, 42, 17, QStringLiteral("MaxY"));
  button("<<", 237, -1, 13, 13, [this] { RotateClicked(); });
  button("*", 237, 12, 13, 13, [this] { ScaleClicked(); });
  factorEdit_ = AddEdit(toolBar, QStringLiteral("2"), 253, 2, 50, 18, QStringLiteral("Factor"));
  autoSaveBox_ = AddCheckBox(toolBar, QStringLiteral("AutoSave"), 307, 4, true);
  button("Points", 394, 2, 52, 25, [this] { preview_->CycleMarkerSize(ShiftHeld()); });
  syncBox_ = AddCheckBox(toolBar, QStringLiteral("Sync"), 469, 4, false);
  polyBox_ = AddCheckBox(toolBar, QStringLiteral("Poly"), 533, 4, true);
  button("Image", 618, 2, 41, 25, [this] { ToggleCommentsOf("image"); });
  button("Angle", 660, 2, 41, 25, [this] { ToggleCommentsOf("angle"); });
  button("Opaque", 702, 2, 48, 25, [this] { ToggleCommentsOf("opaque"); });
  button("Comment", 751, 2, 55, 25, [this] { CommentClicked(); });
}

QWidget* MainForm::CreateCommandColumn() {
  struct TCommandButton {
    const char* Caption;
    int Top;
  };
  static constexpr TCommandButton kCommands[] = {
      {"size ", 8},      {"Angle ", 31},   {"Image ", 55},        {"PenColor ", 78}, {"BrushColor ", 102},
      {"Line ", 125},    {"Dashed ", 149}, {"Spline ", 172},      {"Polygon ", 196}, {"Stairs ", 219},
      {"Arrow ", 243},   {"Ellipse ", 266}, {"TextOut ", 290},    {"AngleTextOut ", 313},
      {"Railway ", 337}, {"Opaque", 360},
  };
  constexpr int kLeft = 2;
  constexpr int kWidth = 72;
  constexpr int kHeight = 23;
  auto* column = new QWidget(this);
  column->setObjectName(QStringLiteral("CommandColumn"));
  column->setFixedWidth(kCommandColumnWidth);
  for (const TCommandButton& command : kCommands) {
    const QString caption = QString::fromUtf8(command.Caption);
    QPushButton* button = AddButton(column, caption, kLeft, command.Top, kWidth, kHeight);
    connect(button, &QPushButton::clicked, this, [this, caption] { InsertText(caption); });
  }
  // Kept from the layout of the column; it does nothing and is never shown.
  AddButton(column, QStringLiteral("Button24"), kLeft, 384, kWidth, kHeight)->hide();
  // The toolbar is full; the picture's export sits below the commands.
  QPushButton* exportButton = AddButton(column, tr("Экспорт..."), kLeft, 420, kWidth, kHeight);
  exportButton->setObjectName(QStringLiteral("Export"));
  connect(exportButton, &QPushButton::clicked, this, [this] { ExportDocument(this, *document_, fileName_); });
  auto* exportKeys = new QAction(this);
  exportKeys->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  connect(exportKeys, &QAction::triggered, exportButton, &QPushButton::click);
  addAction(exportKeys);
  KeepShortcutForWindow(*this, exportKeys->shortcut());
  return column;
}

void MainForm::ConnectHandlers() {
  for (QLineEdit* limit : {minXEdit_, minYEdit_, maxXEdit_, maxYEdit_})
    connect(limit, &QLineEdit::textChanged, this, [this] { Repaint(); });
  connect(syncBox_, &QCheckBox::toggled, this, [this](bool on) { preview_->Sync = on; });
  connect(polyBox_, &QCheckBox::toggled, this, [this](bool on) {
    document_->DrawPolygons = on;
    Repaint();
  });
  connect(memo_, &QPlainTextEdit::textChanged, this, &MainForm::TextEdited);
  connect(&autoSaveTimer_, &QTimer::timeout, this, &MainForm::AutoSaveTick);
  connect(&settleTimer_, &QTimer::timeout, this, [this] {
    if (smoothLevel_ != 1) Repaint();
  });
}

void MainForm::NudgeClicked(int dx, int dy) {
  const long double step = ShiftHeld() ? kShiftNudgeStep : kNudgeStep;
  NudgePoints(*document_, preview_->View, Limits(), dx * step, dy * step);
  PointsMoved();
}

void MainForm::RotateClicked() {
  RotatePoints(*document_, preview_->View, Limits(), BoxInteger(FromQString(factorEdit_->text())));
  PointsMoved();
}

void MainForm::ScaleClicked() {
  ScalePoints(*document_, preview_->View, Limits(), BoxFactor(FromQString(factorEdit_->text())));
  PointsMoved();
}

// --- Files ---------------------------------------------------------------

void MainForm::SetCaption() { setWindowTitle(ToQString(ExtractFileName(fileName_))); }

void MainForm::OpenFile(const std::string& fileName) {
  fileName_ = fileName;
  saveFailureTold_ = false;
  SetCaption();
  std::string fileText;
  ReadWholeFile(fileName_, fileText);
  document_->LoadFromText(DocumentTextOfFileText(fileText));
  preview_->DocumentReloaded();
  ReplaceText(BoxTextOfDocumentText(document_->SaveToText()));
  modified_ = false;
  Repaint();
}

void MainForm::OpenClicked() {
  // Opening over unsaved work that could not be saved would lose it.
  if (modified_ && AskYesNo("Save?") && !Save(true)) return;
  if (const std::optional<std::string> chosen = ChooseVecFile(QFileDialog::AcceptOpen)) OpenFile(*chosen);
}

std::optional<std::string> MainForm::ChooseVecFile(QFileDialog::AcceptMode mode) {
  QFileDialog dialog(this);
  dialog.setNameFilter(QStringLiteral("Vectors (*.vec)"));
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setDefaultSuffix(QStringLiteral("vec"));
  dialog.setAcceptMode(mode);
  if (mode == QFileDialog::AcceptOpen) dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDirectory(QDir::currentPath());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FromQString(dialog.selectedFiles().front());
}

bool MainForm::ChooseFileToSave() {
  const std::optional<std::string> chosen = ChooseVecFile(QFileDialog::AcceptSave);
  if (!chosen) return false;
  fileName_ = *chosen;
  SetCaption();
  return true;
}

bool MainForm::Save(bool asked) {
  // Without a file the auto-save has nowhere to write. The work stays
  // marked as unsaved, so that closing still asks, and a save the user asks
  // for (answering "Save?") gets a file chosen first.
  if (fileName_.empty() && !(asked && ChooseFileToSave())) return false;
  if (WriteFileAtomic(fileName_, FileTextOfBoxText(BoxText()))) {
    modified_ = false;
    saveFailureTold_ = false;
    return true;
  }
  // Unsaved work is not on disk: it stays marked, so that closing still
  // asks, and the user is told. Without unsaved edits nothing is lost (the
  // auto-save writes every few seconds, edited or not), so that stays silent.
  if (modified_ && (asked || !saveFailureTold_)) {
    ShowMessage(FromQString(tr("Не удалось сохранить файл ")) + fileName_, TMessageStyle::Foreground);
    saveFailureTold_ = true;
  }
  return false;
}

void MainForm::AutoSaveTick() {
  if (autoSaveBox_->isChecked()) Save(false);
}

void MainForm::closeEvent(QCloseEvent* event) {
  if (modified_ && AskYesNo("Save?") && !Save(true)) {
    event->ignore();
    return;
  }
  event->accept();
}

// --- Text ----------------------------------------------------------------

std::string MainForm::BoxText() const { return FromQString(memo_->toPlainText()); }

void MainForm::ReplaceText(const std::string& boxText) {
  replacingText_ = true;
  memo_->setPlainText(ToQString(boxText));
  replacingText_ = false;
}

TCaretState MainForm::SaveCaretState() const {
  const QTextCursor cursor = memo_->textCursor();
  const QTextDocument& text = *memo_->document();
  auto positionOf = [&](int at) {
    const QTextBlock block = text.findBlock(at);
    return TTextPosition{block.blockNumber(), at - block.position()};
  };
  TCaretState state;
  state.FirstVisibleLine = memo_->verticalScrollBar()->value();
  state.Start = positionOf(cursor.selectionStart());
  state.End = positionOf(cursor.selectionEnd());
  return state;
}

void MainForm::RestoreCaretState(const TCaretState& state) {
  const std::vector<std::string> lines = SplitBoxText(BoxText());
  const QTextDocument& text = *memo_->document();
  auto offsetOf = [&](TTextPosition position) {
    position = ClampPosition(lines, position);
    const QTextBlock block = text.findBlockByNumber(position.Line);
    return block.position() + std::min(position.Column, block.length() - 1);
  };
  QTextCursor cursor(memo_->document());
  cursor.setPosition(offsetOf(state.Start));
  cursor.setPosition(offsetOf(state.End), QTextCursor::KeepAnchor);
  memo_->setTextCursor(cursor);
  memo_->verticalScrollBar()->setValue(state.FirstVisibleLine);
}

void MainForm::RegenerateText() {
  const TCaretState state = SaveCaretState();
  ReplaceText(BoxTextOfDocumentText(document_->SaveToText()));
  RestoreCaretState(state);
}

void MainForm::ReloadDocument() {
  document_->LoadFromText(DocumentTextOfBoxText(BoxText()));
  preview_->DocumentReloaded();
}

void MainForm::TextEdited() {
  if (replacingText_) return;
  modified_ = true;
  ReloadDocument();
  Repaint();
}

void MainForm::InsertText(const QString& text) {
  QTextCursor cursor = memo_->textCursor();
  cursor.insertText(text);
  memo_->setTextCursor(cursor);
  memo_->setFocus();
}

void MainForm::ToggleCommentsOf(std::string_view name) {
  const TCaretState state = SaveCaretState();
  std::vector<std::string> lines = SplitBoxText(BoxText());
  if (ToggleNamedComments(lines, name)) modified_ = true;
  ReplaceText(JoinBoxLines(lines));
  RestoreCaretState(state);
  ReloadDocument();
  Repaint();
}

void MainForm::CommentClicked() {
  TCaretState state = SaveCaretState();
  std::vector<std::string> lines = SplitBoxText(BoxText());
  ToggleSelectedComments(lines, state);
  modified_ = true;
  ReplaceText(JoinBoxLines(lines));
  RestoreCaretState(state);
  memo_->setFocus();
  ReloadDocument();
  Repaint();
}

// --- Preview -------------------------------------------------------------

TPointLimits MainForm::Limits() const {
  auto value = [](const QLineEdit* edit) { return BoxInteger(FromQString(edit->text())); };
  return {value(minXEdit_), value(minYEdit_), value(maxXEdit_), value(maxYEdit_)};
}

bool MainForm::ShiftHeld() { return QGuiApplication::keyboardModifiers() & Qt::ShiftModifier; }

void MainForm::PaintPreview(QPainter& painter) {
  QElapsedTimer clock;
  clock.start();
  if (canvasBitmap_.Width() != paintBox_->width() || canvasBitmap_.Height() != paintBox_->height())
    canvasBitmap_.SetSize(paintBox_->width(), paintBox_->height());
  const int factor = settleTimer_.isActive() ? 1 : smoothLevel_;
  const bool drawn = preview_->Compose(canvasBitmap_, factor, Limits());
  painter.drawImage(0, 0, canvasBitmap_.Image());
  if (!drawn) return;
  painter.setFont(timeFont_);
  painter.setPen(Qt::black);
  painter.drawText(QRect(10, 10, paintBox_->width(), paintBox_->height()), Qt::AlignLeft | Qt::AlignTop,
                   QString::number(clock.elapsed()) + QStringLiteral(" ms"));
}

void MainForm::PreviewResized() {
  canvasBitmap_.SetSize(paintBox_->width(), paintBox_->height());
  if (preview_) preview_->PreviewResized(paintBox_->width(), paintBox_->height());
}

void MainForm::InsertAtCaret(const std::string& text) { InsertText(ToQString(text)); }

void MainForm::PointsMoved() {
  modified_ = true;
  RegenerateText();
  Repaint();
}

void MainForm::Repaint() {
  if (paintBox_) paintBox_->update();
}

void MainForm::RestartSettleTimer() { settleTimer_.start(); }

}  // namespace varnik
