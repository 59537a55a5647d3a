#include "editor/fNetworkEdits.h"

#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QUndoStack>
#include <algorithm>

#include "city/uCity.h"
#include "editor/fMain.h"
#include "editor/uEditHistory.h"
#include "editor/uMapEditor.h"
#include "editor/uNetworkEdits.h"
#include "map/uMetroMap.h"
#include "network/uTransport.h"
#include "platform/uCodePage.h"
#include "platform/uQtText.h"

namespace varnik {

namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// The colour of the files (red in the low byte) and Qt's.
QColor ToQColor(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
TColor FromQColor(const QColor& c) { return c.red() + 256 * c.green() + 65536 * c.blue(); }

// Name, colour and transport file of a new line.
class TNewLineDialog : public QDialog {
 public:
  TNewLineDialog(const TCity& city, QWidget* parent) : QDialog(parent) {
    setWindowTitle(Text("Новая линия"));
    auto* form = new QFormLayout(this);
    name_ = new QLineEdit(this);
    form->addRow(Text("Название"), name_);
    color_ = new QPushButton(this);
    SetColor(0x0000FF);
    connect(color_, &QPushButton::clicked, this, [this] {
      const QColor chosen = QColorDialog::getColor(ToQColor(color), this, Text("Цвет линии"));
      if (chosen.isValid()) SetColor(FromQColor(chosen));
    });
    form->addRow(Text("Цвет"), color_);
    file_ = new QComboBox(this);
    file_->setEditable(true);
    for (const auto& transport : city.Transports.Items) file_->addItem(ToQString(transport->FileName));
    if (file_->count() == 0) file_->addItem("Metro.trp");
    form->addRow(Text("Файл транспорта"), file_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
  }
  std::string Name() const { return name_->text().toStdString(); }
  std::string File() const { return file_->currentText().toStdString(); }
  TColor color = 0;

 private:
  void SetColor(TColor c) {
    color = c;
    color_->setText(ToQColor(c).name());
  }
  QLineEdit* name_;
  QPushButton* color_;
  QComboBox* file_;
};

// A network edit that tells the window after each redo and undo: points it
// selected may be gone, and the map is drawn anew.
class TNotifyingCommand : public QUndoCommand {
 public:
  TNotifyingCommand(std::unique_ptr<QUndoCommand> edit, std::function<void()> changed)
      : QUndoCommand(edit->text()), edit_(std::move(edit)), changed_(std::move(changed)) {}
  void redo() override {
    edit_->redo();
    changed_();
  }
  void undo() override {
    edit_->undo();
    changed_();
  }

 private:
  std::unique_ptr<QUndoCommand> edit_;
  std::function<void()> changed_;
};

}  // namespace

TNetworkActions::TNetworkActions(TMainForm& form, QMenu& menu) : QObject(&form), form_(form) {
  menu.addSeparator();
  Add(menu, QT_TR_NOOP("Новая линия..."), &TNetworkActions::NewLine);
  addStations_ = Add(menu, QT_TR_NOOP("Добавлять станции щелчком"), &TNetworkActions::ToggleAddStations);
  addStations_->setCheckable(true);
  Add(menu, QT_TR_NOOP("Переименовать станцию..."), &TNetworkActions::RenameStation);
  Add(menu, QT_TR_NOOP("Удалить станцию"), &TNetworkActions::DeleteStation);
  Add(menu, QT_TR_NOOP("Переименовать линию..."), &TNetworkActions::RenameLine);
  Add(menu, QT_TR_NOOP("Цвет линии..."), &TNetworkActions::LineColor);
  Add(menu, QT_TR_NOOP("Удалить линию"), &TNetworkActions::DeleteLine);
  Add(menu, QT_TR_NOOP("Добавить пересадку..."), &TNetworkActions::AddTransfer);
  Add(menu, QT_TR_NOOP("Удалить пересадку"), &TNetworkActions::RemoveTransfer);
  // An undo may take away the line stations are being added to.
  connect(&form_.UndoStack(), &QUndoStack::indexChanged, this, [this] {
    const TMetroMap* map = form_.City().CurrentMap;
    if (addingTo_ != nullptr &&
        (map == nullptr || std::none_of(map->Lines.begin(), map->Lines.end(),
                                        [&](const auto& l) { return l.get() == addingTo_; })))
      AddStationsTo(nullptr);
  });
}

QAction* TNetworkActions::Add(QMenu& menu, const char* caption, void (TNetworkActions::*handler)()) {
  QAction* action = menu.addAction(tr(caption));
  connect(action, &QAction::triggered, this, handler);
  return action;
}

void TNetworkActions::Run(TNetworkEdit edit) {
  if (!edit.Refusal.empty()) {
    QMessageBox::warning(&form_, Text(kMainCaption), QString::fromStdString(edit.Refusal));
    return;
  }
  if (!edit.Command) return;
  form_.History().Push(
      std::make_unique<TNotifyingCommand>(std::move(edit.Command), [this] { form_.ModelChanged(); }));
}

std::vector<TMetroMapStation*> TNetworkActions::Selected(size_t count) {
  std::vector<TMetroMapStation*> stations;
  for (TCoordinate* point : form_.Editor().Selection)
    if (TMetroMapStation* station = form_.Editor().StationOfPoint(point)) stations.push_back(station);
  if (stations.size() < count) {
    QMessageBox::information(&form_, Text(kMainCaption),
                             Text(count == 1 ? "Выделите станцию." : "Выделите две станции."));
    stations.clear();
  }
  return stations;
}

bool TNetworkActions::AskName(const char* title, const std::string& current, std::string& name) {
  bool ok = false;
  const QString text = QInputDialog::getText(&form_, Text(title), Text("Название"), QLineEdit::Normal,
                                             ToQString(current), &ok);
  name = text.toStdString();
  return ok;
}

void TNetworkActions::AddStationsTo(TMetroMapLine* line) {
  addingTo_ = line;
  addStations_->setChecked(line != nullptr);
}

bool TNetworkActions::Click(int x, int y) {
  TMetroMap* map = form_.City().CurrentMap;
  if (addingTo_ == nullptr || map == nullptr) return false;
  const TScalePoint p = form_.Editor().ToMap(x, y);
  // A click counts as on a connection within a few pixels of the screen.
  const long double tolerance =
      std::max<long double>(addingTo_->Width / 2.0L, 4.0L / form_.Editor().View.ScaleX);
  Run(varnik::AddStation(form_.City(), *map, *addingTo_, RoundToInt(p.X), RoundToInt(p.Y), tolerance));
  return true;
}

void TNetworkActions::NewLine() {
  TMetroMap* map = form_.City().CurrentMap;
  if (map == nullptr) return;
  TNewLineDialog dialog(form_.City(), &form_);
  if (dialog.exec() != QDialog::Accepted) return;
  std::vector<const TMetroMapLine*> before;
  for (const auto& line : map->Lines) before.push_back(line.get());
  Run(varnik::NewLine(form_.City(), *map, dialog.Name(), dialog.color, dialog.File()));
  // The new line is the one stations are added to next.
  for (const auto& line : map->Lines)
    if (std::find(before.begin(), before.end(), line.get()) == before.end()) AddStationsTo(line.get());
}

void TNetworkActions::ToggleAddStations() {
  if (addingTo_ != nullptr) return AddStationsTo(nullptr);
  TMetroMap* map = form_.City().CurrentMap;
  if (map == nullptr || map->Lines.empty()) return AddStationsTo(nullptr);
  // The line of a selected station, else the one the user picks.
  for (TCoordinate* point : form_.Editor().Selection)
    if (TMetroMapStation* station = form_.Editor().StationOfPoint(point))
      return AddStationsTo(map->FindLineByStation(station));
  QStringList names;
  for (const auto& line : map->Lines) names << ToQString(line->Route->Name);
  bool ok = false;
  const QString chosen =
      QInputDialog::getItem(&form_, Text("Добавлять станции"), Text("Линия"), names, 0, false, &ok);
  AddStationsTo(ok ? map->Lines[static_cast<size_t>(names.indexOf(chosen))].get() : nullptr);
}

void TNetworkActions::RenameStation() {
  const auto stations = Selected(1);
  if (stations.empty()) return;
  TStation& station = *stations[0]->Station();
  std::string name;
  if (AskName("Переименовать станцию", station.Name, name))
    Run(varnik::RenameStation(form_.City(), station, name));
}

void TNetworkActions::DeleteStation() {
  const auto stations = Selected(1);
  if (!stations.empty()) Run(varnik::DeleteStation(form_.City(), *stations[0]->Station()));
}

void TNetworkActions::RenameLine() {
  const auto stations = Selected(1);
  if (stations.empty()) return;
  TRoute& route = *stations[0]->Station()->Route;
  std::string name;
  if (AskName("Переименовать линию", route.Name, name)) Run(varnik::RenameLine(form_.City(), route, name));
}

void TNetworkActions::LineColor() {
  const auto stations = Selected(1);
  if (stations.empty()) return;
  TMetroMapLine* line = form_.City().CurrentMap->FindLineByStation(stations[0]);
  const QColor chosen = QColorDialog::getColor(ToQColor(line->Color), &form_, Text("Цвет линии"));
  if (chosen.isValid()) Run(SetLineColor(form_.City(), *line, FromQColor(chosen)));
}

void TNetworkActions::DeleteLine() {
  const auto stations = Selected(1);
  if (stations.empty()) return;
  TRoute& route = *stations[0]->Station()->Route;
  if (QMessageBox::question(&form_, Text(kMainCaption),
                            Text("Удалить линию ") + ToQString(route.Name) + Text(" со всеми станциями?")) ==
      QMessageBox::Yes)
    Run(varnik::DeleteLine(form_.City(), route));
}

void TNetworkActions::AddTransfer() {
  const auto stations = Selected(2);
  if (stations.empty()) return;
  bool ok = false;
  const QString time = QInputDialog::getText(&form_, Text("Пересадка"), Text("Время пересадки (мин.сек)"),
                                             QLineEdit::Normal, Text("2"), &ok);
  if (ok)
    Run(varnik::AddTransfer(form_.City(), *stations[0]->Station(), *stations[1]->Station(),
                            TimeStrToSeconds(time.toStdString())));
}

void TNetworkActions::RemoveTransfer() {
  const auto stations = Selected(2);
  if (!stations.empty())
    Run(varnik::RemoveTransfer(form_.City(), *stations[0]->Station(), *stations[1]->Station()));
}

}  // namespace varnik
