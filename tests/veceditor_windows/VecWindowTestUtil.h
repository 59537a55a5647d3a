#pragma once
// Helpers of the vector editor's window tests: starting the window on a copy
// of a test file, finding controls by their captions, and reading the text
// box by lines and caret.

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <filesystem>
#include <memory>

#include "TestFiles.h"
#include "platform/uCodePage.h"
#include "platform/uFiles.h"
#include "platform/uMessages.h"
#include "platform/uQtText.h"
#include "veceditor/fMain.h"

namespace varnik::test {

inline std::string VecTestFile(const std::string& name) {
  std::string bytes;
  ReadWholeFile(std::string(VARNIK_TEST_DATA) + "/veceditor/" + name, bytes);
  return bytes;
}

// A window started with `arguments` and settings from `settingsPath` (a
// missing file by default), shown and ready for input.
inline std::unique_ptr<MainForm> StartWindow(const QStringList& arguments,
                                             const std::string& settingsPath = "/nonexistent/Varnik.ini") {
  auto form = std::make_unique<MainForm>(arguments, settingsPath);
  form->show();
  form->activateWindow();
  if (!QTest::qWaitForWindowExposed(form.get())) return nullptr;
  return form;
}

// Lock keys in a state the test chooses.
class TFixedLockKeys : public TLockKeys {
 public:
  explicit TFixedLockKeys(bool capsLock) : capsLock_(capsLock) {}
  bool CapsLockOn() const override { return capsLock_; }

 private:
  bool capsLock_;
};

inline QString PathArgument(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

inline QPushButton* Button(QWidget& root, const QString& caption) {
  for (QPushButton* button : root.findChildren<QPushButton*>())
    if (button->text() == caption) return button;
  return nullptr;
}

// A button of the toolbar.
inline QPushButton* ToolButton(QWidget& form, const QString& caption) {
  QWidget* toolBar = form.findChild<QWidget*>("ToolBar");
  return toolBar ? Button(*toolBar, caption) : nullptr;
}

// A button of the command column ("Opaque" is also a caption of the toolbar).
inline QPushButton* CommandButton(QWidget& form, const QString& caption) {
  QWidget* column = form.findChild<QWidget*>("CommandColumn");
  return column ? Button(*column, caption) : nullptr;
}

inline QCheckBox* CheckBox(QWidget& root, const QString& caption) {
  for (QCheckBox* box : root.findChildren<QCheckBox*>())
    if (box->text() == caption) return box;
  return nullptr;
}

inline QLineEdit* Edit(QWidget& root, const char* name) { return root.findChild<QLineEdit*>(name); }

// The text box's text as UTF-8.
inline std::string MemoText(MainForm& form) { return form.Memo().toPlainText().toStdString(); }

// Puts the caret (no selection) at a line and column of the text box.
inline void PlaceCaret(MainForm& form, int line, int column) {
  QTextCursor cursor(form.Memo().document()->findBlockByNumber(line));
  cursor.setPosition(cursor.position() + column);
  form.Memo().setTextCursor(cursor);
}

inline void SelectLines(MainForm& form, int startLine, int startColumn, int endLine, int endColumn) {
  QTextDocument& text = *form.Memo().document();
  QTextCursor cursor(&text);
  cursor.setPosition(text.findBlockByNumber(startLine).position() + startColumn);
  cursor.setPosition(text.findBlockByNumber(endLine).position() + endColumn, QTextCursor::KeepAnchor);
  form.Memo().setTextCursor(cursor);
}

struct TCaretPlace {
  int StartLine, StartColumn, EndLine, EndColumn;
  bool operator==(const TCaretPlace&) const = default;
};

inline TCaretPlace CaretPlace(MainForm& form) {
  const QTextCursor cursor = form.Memo().textCursor();
  const QTextDocument& text = *form.Memo().document();
  const QTextBlock start = text.findBlock(cursor.selectionStart());
  const QTextBlock end = text.findBlock(cursor.selectionEnd());
  return {start.blockNumber(), cursor.selectionStart() - start.position(), end.blockNumber(),
          cursor.selectionEnd() - end.position()};
}

// Types text of any script, one key event per character (QTest's key
// clicks know only ASCII).
inline void TypeText(QWidget& widget, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&widget, &release);
  }
}

inline int FirstVisibleLine(MainForm& form) { return form.Memo().verticalScrollBar()->value(); }

// The pixel of the preview where an image point is shown.
inline QPoint ScreenOf(MainForm& form, long double x, long double y) {
  const TScalePoint screen = form.Preview().View.ToScreen(x, y);
  return {RoundToInt(screen.X), RoundToInt(screen.Y)};
}

}  // namespace varnik::test

// Caret places print as "line:column-line:column" in failure messages.
namespace QTest {
template <>
inline char* toString(const varnik::test::TCaretPlace& place) {
  return qstrdup(QByteArray::number(place.StartLine) + ":" + QByteArray::number(place.StartColumn) + "-" +
                 QByteArray::number(place.EndLine) + ":" + QByteArray::number(place.EndColumn));
}
}  // namespace QTest
