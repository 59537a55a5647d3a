#pragma once
// The cities the editor opened lately, kept in the user's settings so that
// the city chooser can offer them again. Directories are absolute paths;
// a directory counts as a city while it holds a .cty file.

#include <QString>
#include <QStringList>

class QSettings;

namespace varnik {

// True when `dir` is a directory holding a file named *.cty (any case).
bool IsCityDirectory(const QString& dir);

class TRecentCities {
 public:
  // How many cities are remembered.
  static constexpr int kMaxCount = 10;

  // Reads and writes the list in `settings`, which must outlive this object.
  explicit TRecentCities(QSettings& settings);

  // The remembered cities that are still city directories, most recent
  // first. Those that are gone stay in the settings: a directory on a
  // removable or network disk comes back.
  QStringList Cities() const;
  // Puts `dir` first; an earlier mention of the same directory goes, and
  // the oldest beyond kMaxCount drop off. A directory that is not a city is
  // not remembered.
  void Remember(const QString& dir);

 private:
  QSettings& settings_;
};

}  // namespace varnik
