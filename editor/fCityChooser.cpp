#include "editor/fCityChooser.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "city/uCityWriter.h"
#include "editor/fMain.h"
#include "editor/uRecentCities.h"
#include "platform/uCodePage.h"
#include "platform/uMessages.h"

namespace varnik {

namespace {

struct TNewCityAnswer {
  QString Dir;
  QString Name;
};

// Asks the folder and the name of a new city; nothing when cancelled.
std::optional<TNewCityAnswer> AskNewCity(QWidget* parent) {
  QDialog dialog(parent);
  dialog.setWindowTitle(TCityChooser::tr("Новый город"));
  auto* dir = new QLineEdit(&dialog);
  dir->setMinimumWidth(320);
  auto* browse = new QPushButton(TCityChooser::tr("Обзор..."), &dialog);
  QObject::connect(browse, &QPushButton::clicked, &dialog, [&dialog, dir] {
    const QString chosen =
        QFileDialog::getExistingDirectory(&dialog, TCityChooser::tr("Папка нового города"), dir->text());
    if (!chosen.isEmpty()) dir->setText(QDir::toNativeSeparators(chosen));
  });
  auto* dirRow = new QHBoxLayout;
  dirRow->addWidget(dir, 1);
  dirRow->addWidget(browse);
  auto* name = new QLineEdit(&dialog);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* form = new QFormLayout(&dialog);
  form->addRow(TCityChooser::tr("Папка (новая или пустая):"), dirRow);
  form->addRow(TCityChooser::tr("Название города:"), name);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return TNewCityAnswer{dir->text().trimmed(), name->text()};
}

// What the user is told when a new city could not be made (UTF-8).
QString NewCityFailure(TNewCityError error, const TNewCityAnswer& answer, const std::string& detail) {
  switch (error) {
    case TNewCityError::NoDirectory:
      return TCityChooser::tr("Не указана папка нового города.");
    case TNewCityError::BadName:
      return TCityChooser::tr("Название «%1» нельзя записать в кодировке города (Windows-1251).")
          .arg(answer.Name);
    case TNewCityError::NotADirectory:
      return TCityChooser::tr("«%1» — не папка.").arg(answer.Dir);
    case TNewCityError::NotEmpty:
      return TCityChooser::tr("Папка «%1» не пуста: новому городу нужна новая или пустая папка.")
          .arg(answer.Dir);
    default:
      return TCityChooser::tr("Не удалось создать город: %1").arg(QString::fromStdString(detail));
  }
}

}  // namespace

TCityChooser::TCityChooser(const QStringList& recent, TMessageSink& messages, QWidget* parent)
    : QDialog(parent), messages_(messages) {
  setObjectName("CityChooser");
  setWindowTitle(QCoreApplication::translate("varnik::TMainForm", kMainCaption));
  recent_ = new QListWidget(this);
  recent_->setObjectName("RecentCities");
  recent_->setMinimumSize(420, 200);
  for (const QString& dir : recent) {
    auto* item = new QListWidgetItem(QDir::toNativeSeparators(dir), recent_);
    item->setData(Qt::UserRole, dir);
  }
  auto* column = new QVBoxLayout;
  column->addWidget(new QLabel(tr("Недавние города:"), this));
  column->addWidget(recent_, 1);

  auto* buttons = new QVBoxLayout;
  open_ = AddButton(tr("Открыть"), &TCityChooser::OpenSelected);
  buttons->addWidget(open_);
  buttons->addWidget(AddButton(tr("Выбрать папку..."), &TCityChooser::ChooseFolder));
  buttons->addWidget(AddButton(tr("Создать город..."), &TCityChooser::CreateCity));
  buttons->addStretch(1);
  buttons->addWidget(AddButton(tr("Выход"), &QDialog::reject));

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(column, 1);
  layout->addLayout(buttons);

  open_->setDefault(true);
  open_->setEnabled(false);
  connect(recent_, &QListWidget::currentItemChanged, this,
          [this](QListWidgetItem* item) { open_->setEnabled(item != nullptr); });
  connect(recent_, &QListWidget::itemActivated, this, [this] { OpenSelected(); });
  if (recent_->count() > 0) recent_->setCurrentRow(0);
}

QPushButton* TCityChooser::AddButton(const QString& caption, void (TCityChooser::*action)()) {
  auto* button = new QPushButton(caption, this);
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, action);
  return button;
}

void TCityChooser::OpenSelected() {
  if (QListWidgetItem* item = recent_->currentItem()) Choose(item->data(Qt::UserRole).toString());
}

void TCityChooser::ChooseFolder() {
  const QString dir = QFileDialog::getExistingDirectory(this, tr("Папка города"));
  if (!dir.isEmpty()) Choose(dir);
}

void TCityChooser::CreateCity() {
  const std::optional<TNewCityAnswer> answer = AskNewCity(this);
  if (!answer) return;
  std::string detail;
  const TNewCityError error =
      NewCityDirectory(QFile::encodeName(answer->Dir).toStdString(), answer->Name.toStdString(),
                       kNewCityWidth, kNewCityHeight, detail);
  if (error != TNewCityError::None) {
    messages_.Show(Utf8ToCp1251(NewCityFailure(error, *answer, detail).toStdString()),
                   TMessageStyle::Warning);
    return;
  }
  Choose(answer->Dir);
}

void TCityChooser::Choose(const QString& dir) {
  if (!IsCityDirectory(dir)) {
    messages_.Show(
        Utf8ToCp1251(
            tr("В папке «%1» нет города (файла *.cty).").arg(QDir::toNativeSeparators(dir)).toStdString()),
        TMessageStyle::Warning);
    return;
  }
  chosen_ = dir;
  accept();
}

}  // namespace varnik
