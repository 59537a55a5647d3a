// The vector editor's files: the command line, auto-saving, the "Save?"
// questions of closing and opening, the open dialog, and a save that fails.

#include <QFileDialog>
#include <QPointer>
#include <QtTest>

#include "VecWindowTestUtil.h"

using namespace varnik;
using namespace varnik::test;

namespace {

// Runs the auto-save timer's handler now instead of in six seconds.
void AutoSaveNow(MainForm& form) { QVERIFY(QMetaObject::invokeMethod(&form.AutoSaveTimer(), "timeout")); }

// Answers the next file dialog with `answer` (called with the dialog) from
// inside its own message loop; `shown` tells whether one came. A dialog the
// answer leaves open is cancelled two seconds later, so that a test whose
// answer did not take fails instead of waiting for ever.
class TDialogAnswer : public QObject {
 public:
  explicit TDialogAnswer(std::function<void(QFileDialog&)> answer) : answer_(std::move(answer)) {
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, [this] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      if (!shown) {
        shown = true;
        answered_ = dialog;
        answer_(*dialog);
      } else if (dialog == answered_ && ++ticksLeftOpen_ > 200) {
        timer_.stop();
        dialog->reject();
      }
    });
    timer_.start();
  }
  bool shown = false;

 private:
  std::function<void(QFileDialog&)> answer_;
  QTimer timer_;
  QPointer<QFileDialog> answered_;
  int ticksLeftOpen_ = 0;
};

// Types `name` into a file dialog and accepts it, as a user does; choosing
// through the dialog's list would wait for its directory to be read.
void TypeFileName(QFileDialog& dialog, const QString& name) {
  auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  QVERIFY(edit != nullptr);
  edit->setText(name);
  static_cast<QDialog&>(dialog).accept();  // QFileDialog keeps its override protected
}

std::string FailureMessage(const std::filesystem::path& path) {
  return Utf8ToCp1251("Не удалось сохранить файл ") + path.string();
}

}  // namespace

class SavingTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TTempDir> dir_;
  std::unique_ptr<TScopedCurrentDir> cwd_;
  std::unique_ptr<TRecordingSink> messages_;
  std::unique_ptr<TScopedMessageSink> scopedMessages_;

 private slots:
  void init() {
    dir_ = std::make_unique<TTempDir>();
    cwd_ = std::make_unique<TScopedCurrentDir>(dir_->Path());
    messages_ = std::make_unique<TRecordingSink>();
    messages_->Answer = false;
    scopedMessages_ = std::make_unique<TScopedMessageSink>(*messages_);
  }
  void cleanup() {
    scopedMessages_.reset();
    messages_.reset();
    cwd_.reset();
    dir_.reset();
  }

  void withoutArgumentsNothingIsWritten() {
    auto form = StartWindow({});
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QString());
    QCOMPARE(MemoText(*form), std::string());
    QVERIFY(form->Document().Commands.empty());
    const QImage shown = form->PaintBox().grab().toImage();
    for (int y = 0; y < shown.height(); y += 5)
      for (int x = 0; x < shown.width(); x += 5) QCOMPARE(shown.pixel(x, y) & 0xFFFFFF, 0xFFFFFFu);
    QTest::keyClicks(&form->Memo(), QStringLiteral("Size 10x10"));
    QVERIFY(form->Modified());
    AutoSaveNow(*form);
    QVERIFY(std::filesystem::is_empty(dir_->Path()));
    QVERIFY(messages_->Entries.empty());
    // The text is still only in the window, and so still unsaved.
    QVERIFY(form->Modified());
  }

  void closingWithoutAFileLetsTheUserChooseOne() {
    auto form = StartWindow({});
    QVERIFY(form);
    QTest::keyClicks(&form->Memo(), QStringLiteral("Size 10x10"));
    messages_->Answer = true;

    // Cancelling the file dialog cancels the closing.
    TDialogAnswer cancel([](QFileDialog& dialog) { dialog.reject(); });
    QVERIFY(!form->close());
    QVERIFY(cancel.shown);
    QVERIFY(form->Modified());

    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    TDialogAnswer answer([&](QFileDialog& dialog) {
      mode = dialog.acceptMode();
      TypeFileName(dialog, QStringLiteral("drawn"));  // a name the directory does not have yet
    });
    QVERIFY(form->close());
    QVERIFY(answer.shown);
    QCOMPARE(mode, QFileDialog::AcceptSave);
    QCOMPARE(dir_->ReadBytes("drawn.vec"), std::string("Size 10x10\r\n"));
    QCOMPARE(form->windowTitle(), QStringLiteral("drawn.vec"));
    QCOMPARE(messages_->Questions, (std::vector<std::string>{"Save?", "Save?"}));
    messages_->Answer = false;
  }

  void autoSaveCreatesAMissingFile() {
    const auto path = dir_->Path() / "new.vec";
    auto form = StartWindow({PathArgument(path)});
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("new.vec"));
    QCOMPARE(form->FileName(), path.string());
    QVERIFY(form->AutoSaveTimer().isActive());
    QCOMPARE(form->AutoSaveTimer().interval(), 6000);
    QVERIFY(!std::filesystem::exists(path));
    // Nothing typed: the first tick writes an empty file.
    QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(path), 7000);
    QCOMPARE(dir_->ReadBytes("new.vec"), std::string());

    QTest::keyClicks(&form->Memo(), QStringLiteral("Size 10x10"));
    QTest::keyClick(&form->Memo(), Qt::Key_Return);
    QTest::keyClicks(&form->Memo(), QStringLiteral("Line 1,2, 3,4"));
    QTest::keyClick(&form->Memo(), Qt::Key_Return);
    AutoSaveNow(*form);
    QCOMPARE(dir_->ReadBytes("new.vec"), std::string("Size 10x10\r\nLine 1,2, 3,4\r\n"));
    QVERIFY(!form->Modified());
    // Every tick saves, changed or not.
    std::filesystem::remove(path);
    AutoSaveNow(*form);
    QCOMPARE(dir_->ReadBytes("new.vec"), std::string("Size 10x10\r\nLine 1,2, 3,4\r\n"));
  }

  void autoSaveSwitch_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("autoSave");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("file only") << QStringList{"a.vec"} << true << "a.vec";
    QTest::newRow("switch") << QStringList{"a.vec", "/-AutoSave"} << false << "a.vec";
    QTest::newRow("lower case") << QStringList{"a.vec", "/-autosave"} << false << "a.vec";
    QTest::newRow("switch first") << QStringList{"/-AutoSave", "a.vec"} << false << "/-AutoSave";
    QTest::newRow("with a value") << QStringList{"a.vec", "/-AutoSave=0"} << true << "a.vec";
  }
  void autoSaveSwitch() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, autoSave);
    QFETCH(QString, fileName);
    auto form = StartWindow(arguments);
    QVERIFY(form);
    QCOMPARE(CheckBox(*form, QStringLiteral("AutoSave"))->isChecked(), autoSave);
    QCOMPARE(QString::fromStdString(form->FileName()), fileName);
    AutoSaveNow(*form);
    QCOMPARE(std::filesystem::exists(dir_->Path() / "a.vec"), autoSave);
  }

  void smoothLevelComesFromTheSettings() {
    dir_->Write("Varnik.ini", "[Options]\nSmooth=2\n");
    auto form = StartWindow({}, (dir_->Path() / "Varnik.ini").string());
    QVERIFY(form);
    QCOMPARE(form->SmoothLevel(), 2);
    QCOMPARE(StartWindow({})->SmoothLevel(), 4);
  }

  void failedSaveIsToldOnceAndKeepsTheWork() {
    const auto folder = dir_->Path() / "gone";
    const auto path = folder / "x.vec";
    auto form = StartWindow({PathArgument(path)});
    QVERIFY(form);
    QTest::keyClicks(&form->Memo(), QStringLiteral("Size 5x5"));
    AutoSaveNow(*form);
    AutoSaveNow(*form);
    QCOMPARE(messages_->Texts(), std::vector<std::string>{FailureMessage(path)});
    QVERIFY(form->Modified());

    std::filesystem::create_directory(folder);
    AutoSaveNow(*form);
    QVERIFY(!form->Modified());
    std::string bytes;
    QVERIFY(ReadWholeFile(path.string(), bytes));
    QCOMPARE(bytes, std::string("Size 5x5\r\n"));

    // After a success a new failure is told again.
    std::filesystem::remove_all(folder);
    QTest::keyClicks(&form->Memo(), QStringLiteral("0"));
    AutoSaveNow(*form);
    QCOMPARE(messages_->Texts().size(), size_t{2});
    QVERIFY(form->Modified());

    // Closing with Yes to "Save?" keeps the window open while the save fails.
    messages_->Answer = true;
    QVERIFY(!form->close());
    QVERIFY(form->isVisible());
    QCOMPARE(messages_->Questions, std::vector<std::string>{"Save?"});
    QCOMPARE(messages_->Texts().size(), size_t{3});
    messages_->Answer = false;
    QVERIFY(form->close());
  }

  void failedSaveWithNothingUnsavedStaysSilent() {
    const auto path = dir_->Path() / "gone" / "x.vec";
    auto form = StartWindow({PathArgument(path)});
    QVERIFY(form);
    AutoSaveNow(*form);
    AutoSaveNow(*form);
    QVERIFY(messages_->Entries.empty());
    QVERIFY(!form->Modified());
    // Silence does not count as telling: the first edit that cannot be saved is told.
    QTest::keyClicks(&form->Memo(), QStringLiteral("Size 5x5"));
    AutoSaveNow(*form);
    QCOMPARE(messages_->Texts(), std::vector<std::string>{FailureMessage(path)});
  }

  void closingAsksBeforeSaving() {
    dir_->WriteBytes("c.vec", "Size 10x10\r\n");
    auto form = StartWindow({PathArgument(dir_->Path() / "c.vec")});
    QVERIFY(form);
    QVERIFY(form->close());
    QVERIFY(messages_->Questions.empty());

    form = StartWindow({PathArgument(dir_->Path() / "c.vec")});
    QVERIFY(form);
    PlaceCaret(*form, 1, 0);
    QTest::keyClicks(&form->Memo(), QStringLiteral("Line 1,1, 2,2"));
    QVERIFY(form->close());
    QCOMPARE(messages_->Questions, std::vector<std::string>{"Save?"});
    QCOMPARE(dir_->ReadBytes("c.vec"), std::string("Size 10x10\r\n"));

    form = StartWindow({PathArgument(dir_->Path() / "c.vec")});
    QVERIFY(form);
    PlaceCaret(*form, 1, 0);
    QTest::keyClicks(&form->Memo(), QStringLiteral("Line 1,1, 2,2"));
    messages_->Answer = true;
    QVERIFY(form->close());
    QCOMPARE(dir_->ReadBytes("c.vec"), std::string("Size 10x10\r\nLine 1,1, 2,2\r\n"));
  }

  void openAsksThenOffersTheCurrentDirectory() {
    dir_->WriteBytes("a.vec", "Size 10x10\r\n");
    dir_->WriteBytes("b.vec", "size 20x30\r\nline 1,2, 3,4, 1.0\r\n");
    auto form = StartWindow({PathArgument(dir_->Path() / "a.vec")});
    QVERIFY(form);
    const QPoint viewShift(int(form->Preview().View.ShiftX), int(form->Preview().View.ShiftY));
    QTest::keyClicks(&form->Memo(), QStringLiteral("; edit"));

    QString directory, suffix;
    QStringList filters;
    TDialogAnswer answer([&](QFileDialog& dialog) {
      directory = dialog.directory().canonicalPath();
      filters = dialog.nameFilters();
      suffix = dialog.defaultSuffix();
      TypeFileName(dialog, QStringLiteral("b.vec"));
    });
    QTest::mouseClick(ToolButton(*form, QStringLiteral("Open")), Qt::LeftButton);
    QVERIFY(answer.shown);
    QCOMPARE(directory, QDir::current().canonicalPath());
    QCOMPARE(filters, QStringList{QStringLiteral("Vectors (*.vec)")});
    QCOMPARE(suffix, QStringLiteral("vec"));
    QCOMPARE(messages_->Questions, std::vector<std::string>{"Save?"});
    QCOMPARE(dir_->ReadBytes("a.vec"), std::string("Size 10x10\r\n"));
    QCOMPARE(form->windowTitle(), QStringLiteral("b.vec"));
    QCOMPARE(MemoText(*form), std::string("Size 20x30\nLine 1,2, 3,4\n"));
    QCOMPARE(form->Document().ImageHeight(), 30);
    QVERIFY(!form->Modified());
    // The view is where it was.
    QCOMPARE(QPoint(int(form->Preview().View.ShiftX), int(form->Preview().View.ShiftY)), viewShift);

    TDialogAnswer cancel([](QFileDialog& dialog) { dialog.reject(); });
    QTest::mouseClick(ToolButton(*form, QStringLiteral("Open")), Qt::LeftButton);
    QVERIFY(cancel.shown);
    QCOMPARE(form->windowTitle(), QStringLiteral("b.vec"));
  }

  void openingOverWorkThatCannotBeSavedStops() {
    const auto path = dir_->Path() / "gone" / "x.vec";
    auto form = StartWindow({PathArgument(path)});
    QVERIFY(form);
    QTest::keyClicks(&form->Memo(), QStringLiteral("Size 5x5"));
    messages_->Answer = true;
    TDialogAnswer answer([](QFileDialog& dialog) { dialog.reject(); });
    QTest::mouseClick(ToolButton(*form, QStringLiteral("Open")), Qt::LeftButton);
    // The click is handled before it returns: the question came, the save
    // it asked for failed, and a file dialog, had one followed, would have
    // run (and been answered) inside the click.
    QCOMPARE(messages_->Questions, std::vector<std::string>{"Save?"});
    QVERIFY(!answer.shown);
    QCOMPARE(messages_->Texts(), std::vector<std::string>{FailureMessage(path)});
    QCOMPARE(MemoText(*form), std::string("Size 5x5"));
    messages_->Answer = false;
  }
};

QTEST_MAIN(SavingTest)
#include "SavingTest.moc"
