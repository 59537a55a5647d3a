// The map editor speaks the language of the user's locale: ctest runs this
// program under a Russian and under an English locale, and
// VARNIK_TEST_LANGUAGE says which texts to expect.

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <optional>

#include "EditorSession.h"
#include "editor/fJourney.h"
#include "map/uSettings.h"
#include "platform/gui/uInterfaceTranslations.h"

using varnik::test::TEditorSession;
using varnik::test::U;

namespace {

bool EnglishExpected() { return qEnvironmentVariable("VARNIK_TEST_LANGUAGE") == QStringLiteral("English"); }

// One text of the interface in Russian and in English.
struct TText {
  const char* Russian;
  const char* English;
  const char* Expected() const { return EnglishExpected() ? English : Russian; }
};

// Every caption a window shows: its title, buttons, boxes, labels, actions
// (menus and their items among them).
QStringList Captions(QWidget& window) {
  QStringList texts{window.windowTitle()};
  for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) texts << button->text();
  for (QGroupBox* box : window.findChildren<QGroupBox*>()) texts << box->title();
  for (QLabel* label : window.findChildren<QLabel*>()) texts << label->text();
  for (QAction* action : window.findChildren<QAction*>()) texts << action->text();
  return texts;
}

}  // namespace

class LanguageTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY2(qEnvironmentVariableIsSet("VARNIK_TEST_LANGUAGE"), "run by ctest, which sets the locale");
    varnik::LoadSettings("no such settings file");
    translations_.emplace(varnik::UserInterfaceLanguage());
  }

  void captionsAreInTheLanguageOfTheLocale() {
    TEditorSession s;
    QCOMPARE(s.form->windowTitle(), U(TText{"Редактор Метро", "Metro Editor"}.Expected()));
    for (TText caption : {TText{"Размер точек", "Point size"}, TText{"Поиск перес.", "Find transfer"},
                          TText{"Копировать в буфер", "Copy to clipboard"}, TText{"/\\", "/\\"}})
      QVERIFY2(s.Control<QPushButton>(caption.Expected()) != nullptr, caption.Expected());
    QVERIFY(s.Control<QCheckBox>(TText{"Записывать коорд.", "Record coords"}.Expected()) != nullptr);
    QCOMPARE(s.form->FileMenu()->title(), U(TText{"Файл", "File"}.Expected()));
    QCOMPARE(s.form->findChild<QAction*>("ExportAction")->text(),
             U(TText{"Экспорт...", "Export..."}.Expected()));
    QCOMPARE(s.form->findChild<QAction*>("UndoAction")->text(), U(TText{"Отменить", "Undo"}.Expected()));
    // Qt's own buttons speak the same language.
    QMessageBox question(QMessageBox::Question, QString(), QString(), QMessageBox::Yes);
    QCOMPARE(question.button(QMessageBox::Yes)->text(), U(TText{"&Да", "&Yes"}.Expected()));
  }

  void englishLeavesNoRussianCaption() {
    if (!EnglishExpected()) QSKIP("only under the English locale");
    TEditorSession s;
    s.form->OpenJourneyWindow();
    const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    for (QWidget* window :
         {static_cast<QWidget*>(s.form.get()), static_cast<QWidget*>(s.form->JourneyWindow())})
      for (const QString& caption : Captions(*window))
        QVERIFY2(!caption.contains(cyrillic), qPrintable(caption));
  }

  void messagesOfTheCommandsAreTranslated() {
    TEditorSession s;
    s.Press(TText{"Доп.точка", "Node"}.Expected());
    QCOMPARE(s.Messages(), QStringList{U(TText{"Выделите две соседние станции сначала.",
                                               "Select two neighbouring stations first."}
                                             .Expected())});
  }

 private:
  std::optional<varnik::TInterfaceTranslations> translations_;
};

QTEST_MAIN(LanguageTest)
#include "LanguageTest.moc"
