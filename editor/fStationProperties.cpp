#include "editor/fStationProperties.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "map/uMetroMap.h"
#include "network/uRoute.h"
#include "platform/uQtText.h"

namespace varnik {

namespace {

// The boxes show lines ending with LF; the model's texts end them CR LF.
QString BoxText(const std::string& cp1251) { return ToQString(ReplaceAll(cp1251, "\r\n", "\n")); }
std::string ModelText(const QPlainTextEdit& box) {
  return ReplaceAll(FromQString(box.toPlainText()), "\n", "\r\n");
}

}  // namespace

TStationPropertiesForm::TStationPropertiesForm(const TMetroMapStation& station, QWidget* parent)
    : QDialog(parent) {
  setObjectName("StationPropertiesForm");
  const TRoute* route = station.Stop != nullptr ? station.Stop->Route : nullptr;
  setWindowTitle(route != nullptr ? ToQString(route->Name) : QString());
  move(309, 304);
  setFixedSize(635, 326);
  const TStationFields fields = StationFields(station);

  (new QLabel("Name", this))->move(24, 12);
  NameEdit = new QLineEdit(this);
  NameEdit->setObjectName("NameEdit");
  NameEdit->setGeometry(64, 8, 553, 21);
  NameEdit->setText(ToQString(fields.Name));

  AddDirection(QT_TR_NOOP(" Туда "), 40, fields.ForwardNames, fields.ForwardTimes, ForwardNames, ForwardTimes);
  AddDirection(QT_TR_NOOP(" Обратно "), 168, fields.BackwardNames, fields.BackwardTimes, BackwardNames,
               BackwardTimes);

  auto* ok = new QPushButton("Ok", this);
  ok->setGeometry(48, 296, 75, 25);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  // Escape rejects the dialog as well.
  auto* cancel = new QPushButton(tr("Отменить"), this);
  cancel->setGeometry(144, 296, 75, 25);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TStationPropertiesForm::AddDirection(const char* caption, int y, const std::string& names,
                                          const std::string& times, QPlainTextEdit*& namesBox,
                                          QPlainTextEdit*& timesBox) {
  auto* group = new QGroupBox(tr(caption), this);
  group->setGeometry(8, y, 617, 121);
  (new QLabel(tr("Станции"), group))->move(16, 16);
  (new QLabel(tr("Время"), group))->move(152, 16);
  namesBox = new QPlainTextEdit(group);
  namesBox->setGeometry(8, 32, 297, 81);
  namesBox->setPlainText(BoxText(names));
  timesBox = new QPlainTextEdit(group);
  timesBox->setGeometry(312, 32, 297, 81);
  timesBox->setPlainText(BoxText(times));
  // Tab moves on instead of typing a tab into a name.
  namesBox->setTabChangesFocus(true);
  timesBox->setTabChangesFocus(true);
}

TStationFields TStationPropertiesForm::Fields() const {
  TStationFields fields;
  fields.Name = FromQString(NameEdit->text());
  fields.ForwardNames = ModelText(*ForwardNames);
  fields.ForwardTimes = ModelText(*ForwardTimes);
  fields.BackwardNames = ModelText(*BackwardNames);
  fields.BackwardTimes = ModelText(*BackwardTimes);
  return fields;
}

}  // namespace varnik
