#pragma once
// The journey planner's window, "Маршрут": where from ("Откуда") and where
// to ("Куда"), each completing the city's station names, the delay column
// whose waits count, and the fastest journey as a list of legs. The journey
// found is handed to the main window, which draws it over the map until
// this window closes. The window only reads the city; it changes nothing.

#include <QWidget>
#include <functional>
#include <optional>

#include "journeys/uJourney.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace varnik {

class TCity;

// Receives each journey found, and nullptr once there is none to show (a
// search that found none, or the window closed).
using TJourneyShown = std::function<void(const TJourney* journey)>;

class TJourneyForm : public QWidget {
  Q_OBJECT

 public:
  // The city must outlive the window.
  TJourneyForm(const TCity& city, TJourneyShown onJourney, QWidget* parent = nullptr);

  // Takes the city's station names and delay columns afresh (a station may
  // have been renamed since the window was last open).
  void Refresh();
  // Looks for the journey between the two names typed and shows it.
  void Search();

  QLineEdit* FromEdit = nullptr;
  QLineEdit* ToEdit = nullptr;
  QComboBox* DelayBox = nullptr;
  QListWidget* Legs = nullptr;
  QLabel* Summary = nullptr;

 protected:
  // Opening the window again takes up the city as it is now and shows the
  // journey between the names still typed, so the map and the list agree.
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowJourney(const TJourney& journey);
  void ShowProblem(const QString& text);

  const TCity& city_;
  TJourneyShown onJourney_;
};

}  // namespace varnik
