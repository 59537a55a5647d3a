#include <gtest/gtest.h>

#include <QSettings>

#include "TestFiles.h"
#include "editor/uRecentCities.h"

namespace varnik {
namespace {

// Settings in a file of their own, and city directories beside it.
class RecentCities : public ::testing::Test {
 protected:
  QString City(const char* name, const char* ctyFile = "City.cty") {
    std::filesystem::create_directories(dir.Path() / name);
    dir.WriteBytes(std::string(name) + "/" + ctyFile, "");
    return Path(name);
  }
  QString Path(const char* name) { return QString::fromStdString((dir.Path() / name).string()); }

  test::TTempDir dir;
  QSettings settings{QString::fromStdString((dir.Path() / "settings.ini").string()), QSettings::IniFormat};
  TRecentCities recent{settings};
};

TEST_F(RecentCities, MostRecentFirstEachOnce) {
  const QString a = City("a"), b = City("b", "UPPER.CTY");
  recent.Remember(a);
  recent.Remember(b);
  recent.Remember(a + "/./");
  EXPECT_EQ(recent.Cities(), QStringList({a, b}));
}

TEST_F(RecentCities, OnlyCityDirectoriesAreRememberedAndShown) {
  const QString a = City("a"), b = City("b");
  std::filesystem::create_directories(dir.Path() / "plain");
  recent.Remember(Path("plain"));
  recent.Remember(Path("gone"));
  recent.Remember(a);
  recent.Remember(b);
  std::filesystem::remove(dir.Path() / "a" / "City.cty");
  EXPECT_EQ(recent.Cities(), QStringList({b}));
  // A city whose file comes back shows again, in its old place.
  dir.WriteBytes("a/City.cty", "");
  EXPECT_EQ(recent.Cities(), QStringList({b, a}));
}

TEST_F(RecentCities, TheOldestDropOffBeyondTheLimit) {
  std::vector<QString> cities;
  for (int i = 0; i <= TRecentCities::kMaxCount; ++i) cities.push_back(City(std::to_string(i).c_str()));
  for (const QString& city : cities) recent.Remember(city);
  const QStringList shown = recent.Cities();
  ASSERT_EQ(shown.size(), TRecentCities::kMaxCount);
  EXPECT_EQ(shown.front(), cities.back());
  EXPECT_FALSE(shown.contains(cities.front()));
}

}  // namespace
}  // namespace varnik
