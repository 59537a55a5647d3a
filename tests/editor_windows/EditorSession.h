#pragma once
// A map editor window opened on a copy of a small test city in a temporary
// directory (the current directory while it lives), with the messages
// recorded, and the verbs a user has: clicking and dragging in the drawing
// area, pressing the panel's buttons by their captions, reading the memo and
// the files the editor wrote.

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "TestFiles.h"
#include "city/uCity.h"
#include "editor/fMain.h"
#include "editor/uMapEditor.h"
#include "map/uMetroMap.h"
#include "platform/uCodePage.h"
#include "platform/uMessages.h"
#include "platform/uProfile.h"

namespace varnik::test {

inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }

class TEditorSession {
 public:
  explicit TEditorSession(std::optional<std::string> argument = std::nullopt, const char* city = "Small") {
    std::filesystem::copy(std::filesystem::path(VARNIK_TEST_DATA) / "editor" / city, dir.Path(),
                          std::filesystem::copy_options::recursive);
    here = std::make_unique<TScopedCurrentDir>(dir.Path());
    form = std::make_unique<TMainForm>(argument);
    form->resize(788, 645);
    form->show();
    Exposed = QTest::qWaitForWindowExposed(form.get());
  }
  ~TEditorSession() { form.reset(); }
  TEditorSession(const TEditorSession&) = delete;
  TEditorSession& operator=(const TEditorSession&) = delete;

  TMapEditor& Editor() { return form->Editor(); }
  TMetroMap& Map() { return *form->City().CurrentMap; }
  TMetroMapStation& Station(int line, int index) { return *Map().StationAt(line, index); }
  QWidget* Area() { return form->DrawingArea(); }

  template <typename T>
  T* Control(const char* caption) {
    for (T* control : form->findChildren<T*>())
      if (control->text() == U(caption)) return control;
    return nullptr;
  }
  // Presses a panel button, with modifier keys held if asked.
  void Press(const char* caption, Qt::KeyboardModifiers keys = {}) {
    QPushButton* button = Control<QPushButton>(caption);
    QVERIFY2(button != nullptr, caption);
    QTest::mouseClick(button, Qt::LeftButton, keys);
  }
  void Tick(const char* caption) {
    QCheckBox* box = Control<QCheckBox>(caption);
    QVERIFY2(box != nullptr, caption);
    box->setChecked(true);
  }
  void Type(QLineEdit* edit, const char* text) {
    edit->clear();
    QTest::keyClicks(edit, U(text));
  }
  QLineEdit* EditRightOf(const char* caption) {
    QPushButton* button = Control<QPushButton>(caption);
    for (QLineEdit* edit : form->findChildren<QLineEdit*>())
      if (button != nullptr && edit->geometry().left() > button->geometry().left() &&
          qAbs(edit->geometry().top() - button->geometry().top()) < 3)
        return edit;
    return nullptr;
  }

  void Click(QPoint at, Qt::KeyboardModifiers keys = {}, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(Area(), button, keys, at);
  }
  // Press at `from`, move in `steps` even steps to `to`, release there.
  void Drag(Qt::MouseButton button, QPoint from, QPoint to, int steps = 8, Qt::KeyboardModifiers keys = {}) {
    QTest::mousePress(Area(), button, keys, from);
    for (int i = 1; i <= steps; ++i) QTest::mouseMove(Area(), from + (to - from) * i / steps);
    QTest::mouseRelease(Area(), button, keys, to);
  }

  // The memo with the box's line ends.
  QString Memo() { return form->findChild<QPlainTextEdit*>("Memo")->toPlainText(); }
  // A key of a city file, or "(missing)".
  QString Key(const char* file, const char* section, const char* key) {
    TProfileFile profile;
    profile.Load(file);
    return U(Cp1251ToUtf8(profile.Value(Utf8ToCp1251(section), key).value_or("(missing)")).c_str());
  }
  std::string Bytes(const char* file) { return dir.ReadBytes(file); }
  // Takes the write permission of a city file away or gives it back.
  void SetWritable(const char* file, bool writable) {
    using std::filesystem::perms;
    std::filesystem::permissions(dir.Path() / file,
                                 writable ? perms::owner_read | perms::owner_write : perms::owner_read);
  }
  QStringList Messages() {
    QStringList texts;
    for (const auto& entry : messages.Entries) texts.push_back(U(Cp1251ToUtf8(entry.Text).c_str()));
    return texts;
  }

  TRecordingSink messages;
  TScopedMessageSink scope{messages};
  TTempDir dir;
  std::unique_ptr<TScopedCurrentDir> here;
  std::unique_ptr<TMainForm> form;
  bool Exposed = false;
};

}  // namespace varnik::test
