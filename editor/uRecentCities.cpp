#include "editor/uRecentCities.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace varnik {

namespace {

constexpr const char* kKey = "RecentCities";

// One spelling per directory, so that "a/b/" and "a/./b" are one entry.
QString Normalised(const QString& dir) { return QDir::cleanPath(QFileInfo(dir).absoluteFilePath()); }

}  // namespace

bool IsCityDirectory(const QString& dir) {
  // The city loader matches the extension without regard to case.
  const QDir directory(dir, QStringLiteral("*.cty"), QDir::NoSort, QDir::Files);
  return directory.exists() && !directory.isEmpty(QDir::Files);
}

TRecentCities::TRecentCities(QSettings& settings) : settings_(settings) {}

QStringList TRecentCities::Cities() const {
  QStringList cities;
  for (const QString& dir : settings_.value(kKey).toStringList())
    if (IsCityDirectory(dir)) cities.push_back(dir);
  return cities;
}

void TRecentCities::Remember(const QString& dir) {
  if (!IsCityDirectory(dir)) return;
  const QString entry = Normalised(dir);
  QStringList cities = settings_.value(kKey).toStringList();
  cities.removeAll(entry);
  cities.prepend(entry);
  while (cities.size() > kMaxCount) cities.removeLast();
  settings_.setValue(kKey, cities);
}

}  // namespace varnik
