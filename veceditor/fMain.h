#pragma once
// The window of the vector editor: a toolbar, the preview with its column of
// command buttons, and the text of the image in a text box on the right.
// Every edit of the text reparses the document at once; point edits made in
// the preview change the document and regenerate the text. The window only
// lays out controls and wires events: the editing rules are in uTextCommands,
// uPointEdits and uPreview.

#include <QFileDialog>
#include <QFont>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "platform/gui/uLockKeys.h"
#include "platform/uBitmap.h"
#include "vector/uVectorImage.h"
#include "veceditor/uPreview.h"
#include "veceditor/uTextCommands.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace varnik {

class MainForm;

// The preview area: paints through the window and hands it the pointer.
class TPreviewPaintBox : public QWidget {
 public:
  explicit TPreviewPaintBox(MainForm& form);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  MainForm& form_;
};

class MainForm : public QWidget, public TPreviewHost {
  Q_OBJECT

 public:
  // `arguments` is the command line without the program's name; the
  // settings are read from `settingsPath` ("Varnik.ini" beside the program).
  explicit MainForm(const QStringList& arguments, const std::string& settingsPath);
  ~MainForm() override;

  TVectorImage& Document() { return *document_; }
  TPreview& Preview() { return *preview_; }
  const std::string& FileName() const { return fileName_; }
  bool Modified() const { return modified_; }
  int SmoothLevel() const { return smoothLevel_; }
  QPlainTextEdit& Memo() { return *memo_; }
  TPreviewPaintBox& PaintBox() { return *paintBox_; }
  // The off-screen bitmap each paint of the preview is composed in.
  TBitmap& CanvasBitmap() { return canvasBitmap_; }
  QTimer& AutoSaveTimer() { return autoSaveTimer_; }
  QTimer& SettleTimer() { return settleTimer_; }
  TPointLimits Limits() const;
  // Where a press on the preview learns whether Caps Lock is on: the
  // display's lock keys unless replaced (tests cannot toggle a keyboard).
  void SetLockKeys(std::unique_ptr<TLockKeys> lockKeys) { lockKeys_ = std::move(lockKeys); }

  // Writes the text box to FileName. False when the file could not be
  // written: Modified then stays as it was, and when there are unsaved
  // edits the user is told, once until a save succeeds unless the user
  // asked for this save (`asked`). Without a
  // FileName an asked-for save lets the user choose the file; any other
  // writes nothing and says nothing.
  bool Save(bool asked);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  friend class TPreviewPaintBox;

  void CreateToolBar(QWidget* toolBar);
  QWidget* CreateCommandColumn();
  void ConnectHandlers();

  void OpenFile(const std::string& fileName);
  void OpenClicked();
  // The file dialog of the editor, on the current directory; nothing when
  // the user cancels.
  std::optional<std::string> ChooseVecFile(QFileDialog::AcceptMode mode);
  bool ChooseFileToSave();
  void AutoSaveTick();
  void SetCaption();

  // Text of the box in the model's code page, and its replacement by the
  // program (which does not count as an edit of the user).
  std::string BoxText() const;
  void ReplaceText(const std::string& boxText);
  TCaretState SaveCaretState() const;
  void RestoreCaretState(const TCaretState& state);
  void RegenerateText();
  void ReloadDocument();
  void TextEdited();
  void InsertText(const QString& text);
  void ToggleCommentsOf(std::string_view name);
  void CommentClicked();
  // The point-editing buttons of the toolbar, on the points inside the limits.
  void NudgeClicked(int dx, int dy);
  void RotateClicked();
  void ScaleClicked();

  static bool ShiftHeld();

  void PaintPreview(QPainter& painter);
  void PreviewResized();

  // TPreviewHost
  void InsertAtCaret(const std::string& text) override;
  void PointsMoved() override;
  void Repaint() override;
  void RestartSettleTimer() override;

  std::unique_ptr<TVectorImage> document_;
  std::unique_ptr<TPreview> preview_;
  std::unique_ptr<TLockKeys> lockKeys_;
  TBitmap canvasBitmap_;
  std::string fileName_;
  bool modified_ = false;
  int smoothLevel_ = 4;
  bool replacingText_ = false;
  // A failed auto-save has been reported and no save has succeeded since.
  bool saveFailureTold_ = false;
  QTimer autoSaveTimer_;
  QTimer settleTimer_;
  QFont timeFont_;

  QPlainTextEdit* memo_ = nullptr;
  TPreviewPaintBox* paintBox_ = nullptr;
  QLineEdit* minXEdit_ = nullptr;
  QLineEdit* minYEdit_ = nullptr;
  QLineEdit* maxXEdit_ = nullptr;
  QLineEdit* maxYEdit_ = nullptr;
  QLineEdit* factorEdit_ = nullptr;
  QCheckBox* autoSaveBox_ = nullptr;
  QCheckBox* syncBox_ = nullptr;
  QCheckBox* polyBox_ = nullptr;
};

}  // namespace varnik
