#include "editor/fJourney.h"

#include <QCloseEvent>
#include <QShowEvent>
#include <QComboBox>
#include <QCompleter>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QVBoxLayout>

#include "journeys/uDelays.h"
#include "journeys/uJourneyPlanner.h"
#include "journeys/uJourneyQuery.h"
#include "city/uCity.h"
#include "platform/uQtText.h"

namespace varnik {

namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

QString Duration(int64_t seconds) {
  const std::string minutes = TJourneyForm::tr("мин").toStdString();
  const std::string secondsWord = TJourneyForm::tr("с").toStdString();
  return Text(DurationText(seconds, minutes, secondsWord).c_str());
}

QString StationName(const TStop* stop) { return ToQString(stop->Station->Name); }

// "Красная: Заводская → Вокзальная, 2 мин 10 с (ожидание 1 мин 30 с)" or
// "Пешком: Театральная (Красная) → Театральная (Кольцевая), 2 мин 30 с". A
// ride tells its wait when a delay column is chosen, even a wait of 0.
QString LegText(const TJourneyLeg& leg, bool withWait) {
  const QString arrow = Text(" → ");
  if (leg.Kind == TLegKind::Walk) {
    return TJourneyForm::tr("Пешком: ") + StationName(leg.Stops[0]) + " (" + ToQString(leg.Stops[0]->Route->Name) + ")" +
           arrow + StationName(leg.Stops[1]) + " (" + ToQString(leg.Stops[1]->Route->Name) + "), " +
           Duration(leg.Seconds);
  }
  QStringList stations;
  for (const TStop* stop : leg.Stops) stations.push_back(StationName(stop));
  QString text = ToQString(leg.Route->Name) + ": " + stations.join(arrow) + ", " + Duration(leg.Seconds);
  if (withWait) text += TJourneyForm::tr(" (ожидание %1)").arg(Duration(leg.WaitSeconds));
  return text;
}

QString Quoted(const QString& name) { return TJourneyForm::tr("«%1»").arg(name); }

QString UnknownStationText(const QString& typed, const std::vector<std::string>& similar) {
  QString text = TJourneyForm::tr("Станция %1 не найдена.").arg(Quoted(typed));
  if (similar.empty()) return text;
  QStringList names;
  for (const std::string& name : similar) names.push_back(Quoted(ToQString(name)));
  return text + TJourneyForm::tr(" Похожие: ") + names.join(", ");
}

QLineEdit* AddNameEdit(QFormLayout& form, const char* caption, const char* objectName) {
  auto* edit = new QLineEdit;
  edit->setObjectName(objectName);
  auto* completer = new QCompleter(edit);
  completer->setCaseSensitivity(Qt::CaseInsensitive);
  completer->setFilterMode(Qt::MatchContains);
  edit->setCompleter(completer);
  form.addRow(TJourneyForm::tr(caption), edit);
  return edit;
}

}  // namespace

TJourneyForm::TJourneyForm(const TCity& city, TJourneyShown onJourney, QWidget* parent)
    : QWidget(parent, Qt::Window), city_(city), onJourney_(std::move(onJourney)) {
  setObjectName("JourneyForm");
  setWindowTitle(tr("Маршрут"));
  resize(420, 360);
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  layout->addLayout(form);
  FromEdit = AddNameEdit(*form, QT_TR_NOOP("Откуда"), "From");
  ToEdit = AddNameEdit(*form, QT_TR_NOOP("Куда"), "To");
  DelayBox = new QComboBox;
  DelayBox->setObjectName("Delay");
  form->addRow(tr("Ожидание"), DelayBox);
  auto* search = new QPushButton(tr("Найти"));
  search->setDefault(true);
  layout->addWidget(search);
  Legs = new QListWidget;
  Legs->setObjectName("Legs");
  layout->addWidget(Legs, 1);
  Summary = new QLabel;
  Summary->setObjectName("Summary");
  Summary->setWordWrap(true);
  layout->addWidget(Summary);

  connect(search, &QPushButton::clicked, this, &TJourneyForm::Search);
  connect(FromEdit, &QLineEdit::returnPressed, this, &TJourneyForm::Search);
  connect(ToEdit, &QLineEdit::returnPressed, this, &TJourneyForm::Search);
  connect(DelayBox, &QComboBox::currentIndexChanged, this, [this] {
    if (!FromEdit->text().isEmpty() && !ToEdit->text().isEmpty()) Search();
  });
}

void TJourneyForm::Refresh() {
  const TJourneyPlanner planner(city_.Transports);
  QStringList names;
  for (const std::string& name : planner.StationNames()) names.push_back(ToQString(name));
  names.sort(Qt::CaseInsensitive);
  for (QLineEdit* edit : {FromEdit, ToEdit}) {
    QCompleter* completer = edit->completer();
    completer->setModel(new QStringListModel(names, completer));
  }
  const QSignalBlocker quiet(DelayBox);
  const int chosen = DelayBox->currentIndex();
  DelayBox->clear();
  // The first choice counts no waits; the others are the city's columns.
  DelayBox->addItem(tr("не учитывать"));
  for (const std::string& column : DelayColumns(city_.DelayNames)) DelayBox->addItem(ToQString(column));
  DelayBox->setCurrentIndex(chosen >= 0 && chosen < DelayBox->count() ? chosen : 0);
}

void TJourneyForm::Search() {
  const TJourneyPlanner planner(city_.Transports);
  const std::string from = FromQString(FromEdit->text().trimmed());
  const std::string to = FromQString(ToEdit->text().trimmed());
  const TJourneyAnswer answer = AskJourney(planner, from, to, DelayBox->currentIndex() - 1);
  switch (answer.Status) {
    case TJourneyStatus::Found:
      return ShowJourney(*answer.Journey);
    case TJourneyStatus::UnknownStart:
      return ShowProblem(UnknownStationText(FromEdit->text().trimmed(), answer.Similar));
    case TJourneyStatus::UnknownEnd:
      return ShowProblem(UnknownStationText(ToEdit->text().trimmed(), answer.Similar));
    case TJourneyStatus::NoJourney:
      return ShowProblem(
          tr("Нет пути из %1 в %2.").arg(Quoted(FromEdit->text().trimmed()), Quoted(ToEdit->text().trimmed())));
  }
}

void TJourneyForm::ShowJourney(const TJourney& journey) {
  Legs->clear();
  const bool withWaits = DelayBox->currentIndex() > 0;
  for (const TJourneyLeg& leg : journey.Legs) Legs->addItem(LegText(leg, withWaits));
  Summary->setText(
      tr("Всего %1, посадок: %2").arg(Duration(journey.TotalSeconds), QString::number(journey.Boardings)));
  onJourney_(&journey);
}

void TJourneyForm::ShowProblem(const QString& text) {
  Legs->clear();
  Summary->setText(text);
  onJourney_(nullptr);
}

void TJourneyForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Refresh();
  if (!FromEdit->text().isEmpty() && !ToEdit->text().isEmpty()) Search();
}

void TJourneyForm::closeEvent(QCloseEvent* event) {
  onJourney_(nullptr);
  event->accept();
}

}  // namespace varnik
