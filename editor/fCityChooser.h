#pragma once
// The city chooser: shown when the editor starts outside a city directory
// and by "Открыть город...". It offers the recently opened cities, any
// folder holding a city, and a new empty city; it only answers which
// directory was chosen, and the caller opens it.

#include <QDialog>
#include <QString>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace varnik {

class TMessageSink;

class TCityChooser : public QDialog {
  Q_OBJECT

 public:
  // `recent`: city directories, most recent first. Messages (a folder
  // without a city, a city that cannot be made) go to `messages`, which
  // must outlive the dialog.
  TCityChooser(const QStringList& recent, TMessageSink& messages, QWidget* parent = nullptr);

  // The directory of the chosen city; empty while none is chosen (and
  // after "Выход").
  QString ChosenCity() const { return chosen_; }

 private:
  QPushButton* AddButton(const QString& caption, void (TCityChooser::*action)());
  void OpenSelected();
  void ChooseFolder();
  void CreateCity();
  // Takes `dir` as the answer when it holds a city, else says why not.
  void Choose(const QString& dir);

  TMessageSink& messages_;
  QListWidget* recent_ = nullptr;
  QPushButton* open_ = nullptr;
  QString chosen_;
};

}  // namespace varnik
