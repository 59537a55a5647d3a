#pragma once
// The station properties dialog: the station's name and the neighbours of
// its stop in both directions with their driving times. The dialog only
// shows and collects the texts; the window applies them (uStationEdit) when
// it closes with "Ok".

#include <QDialog>

#include "editor/uStationEdit.h"

class QLineEdit;
class QPlainTextEdit;

namespace varnik {

class TMetroMapStation;

class TStationPropertiesForm : public QDialog {
  Q_OBJECT

 public:
  TStationPropertiesForm(const TMetroMapStation& station, QWidget* parent = nullptr);

  // The texts as they stand now.
  TStationFields Fields() const;

  QLineEdit* NameEdit = nullptr;
  QPlainTextEdit* ForwardNames = nullptr;
  QPlainTextEdit* ForwardTimes = nullptr;
  QPlainTextEdit* BackwardNames = nullptr;
  QPlainTextEdit* BackwardTimes = nullptr;

 private:
  // One of the two direction groups, with its name and time boxes.
  void AddDirection(const char* caption, int y, const std::string& names, const std::string& times,
                    QPlainTextEdit*& namesBox, QPlainTextEdit*& timesBox);
};

}  // namespace varnik
