// The city chooser as the editor uses it: a recent city picked from the
// list is opened as if the program had been started in it, and "Открыть
// город..." in a city's window leads to the next city.

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include "TestFiles.h"
#include "city/uCity.h"
#include "editor/fCityChooser.h"
#include "editor/fMain.h"
#include "editor/uEditorStart.h"
#include "editor/uRecentCities.h"
#include "map/uMetroMap.h"
#include "map/uSettings.h"
#include "platform/uMessages.h"

using varnik::test::TScopedCurrentDir;
using varnik::test::TTempDir;

namespace {

QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

std::filesystem::path Made(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  return dir;
}

// A copy of the small test city in "city" and an empty folder "elsewhere"
// (the current directory), with the settings in a file of their own.
struct TChooserSetting {
  TChooserSetting() {
    std::filesystem::copy(std::filesystem::path(VARNIK_TEST_DATA) / "editor" / "Small", dir.Path() / "city",
                          std::filesystem::copy_options::recursive);
  }
  QString City() const { return Q(dir.Path() / "city"); }

  TTempDir dir;
  TScopedCurrentDir here{Made(dir.Path() / "elsewhere")};
  QSettings settings{Q(dir.Path() / "settings.ini"), QSettings::IniFormat};
  varnik::TRecentCities recent{settings};
  varnik::TRecordingSink messages;
};

}  // namespace

class CityChooserTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { varnik::LoadSettings("no such settings file"); }

  void aRecentCityIsOpenedAsIfStartedThere() {
    TChooserSetting s;
    s.recent.Remember(s.City());
    varnik::TCityChooser chooser(s.recent.Cities(), s.messages);
    chooser.show();
    auto* list = chooser.findChild<QListWidget*>("RecentCities");
    QCOMPARE(list->count(), 1);
    QPushButton* open = nullptr;
    for (QPushButton* button : chooser.findChildren<QPushButton*>())
      if (button->text() == QString::fromUtf8("Открыть")) open = button;
    QVERIFY(open != nullptr);
    QTest::mouseClick(open, Qt::LeftButton);
    QCOMPARE(chooser.result(), int(QDialog::Accepted));
    QCOMPARE(chooser.ChosenCity(), s.City());

    const auto form = varnik::OpenCityWindow(chooser.ChosenCity(), std::nullopt, s.recent, s.messages);
    QVERIFY(form != nullptr);
    QCOMPARE(QDir::currentPath(), s.City());
    QCOMPARE(form->City().CurrentMap->Name, std::string("Metro.map"));
    QVERIFY(s.messages.Entries.empty());
  }

  void openCityClosesTheWindowForTheChosenOne() {
    TChooserSetting s;
    const auto form = varnik::OpenCityWindow(s.City(), std::nullopt, s.recent, s.messages);
    form->show();
    QWidget* asked = nullptr;
    form->SetCityChooser([&asked](QWidget* parent) {
      asked = parent;
      return QString("/next/city");
    });
    QAction* openCity = nullptr;
    for (QAction* action : form->FileMenu()->actions())
      if (action->text() == QString::fromUtf8("Открыть город...")) openCity = action;
    QVERIFY(openCity != nullptr);
    openCity->trigger();
    QCOMPARE(asked, form.get());
    QVERIFY(!form->isVisible());
    QCOMPARE(form->NextCity(), QString("/next/city"));
    // Opening it remembered the city.
    QCOMPARE(s.recent.Cities(), QStringList({s.City()}));
  }
};

QTEST_MAIN(CityChooserTest)
#include "CityChooserTest.moc"
