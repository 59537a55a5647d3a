#include "editor/uEditorStart.h"

#include <QApplication>
#include <QDir>
#include <QScreen>

#include "editor/fCityChooser.h"
#include "editor/fMain.h"
#include "editor/uRecentCities.h"
#include "platform/uCodePage.h"
#include "platform/uMessages.h"

namespace varnik {

namespace {

// The chosen city directory; empty when the user leaves.
QString ChooseCity(TRecentCities& recent, TMessageSink& messages, QWidget* parent) {
  TCityChooser chooser(recent.Cities(), messages, parent);
  chooser.exec();
  return chooser.ChosenCity();
}

void ShowMaximised(TMainForm& form) {
  // Without a window manager "maximised" means nothing; the screen's free
  // area is what it would give.
  if (QScreen* screen = QGuiApplication::primaryScreen()) form.setGeometry(screen->availableGeometry());
  form.showMaximized();
}

}  // namespace

std::unique_ptr<TMainForm> OpenCityWindow(const QString& dir, const std::optional<std::string>& firstArgument,
                                          TRecentCities& recent, TMessageSink& messages) {
  if (!QDir::setCurrent(dir)) {
    messages.Show(
        Utf8ToCp1251(
            TCityChooser::tr("Нельзя открыть папку «%1».").arg(QDir::toNativeSeparators(dir)).toStdString()),
        TMessageStyle::Warning);
    return nullptr;
  }
  recent.Remember(QDir::currentPath());
  return std::make_unique<TMainForm>(firstArgument);
}

int RunEditor(const std::optional<std::string>& firstArgument, QSettings& settings, TMessageSink& messages) {
  TRecentCities recent(settings);
  std::optional<std::string> argument = firstArgument;
  // Only a start without a map name outside a city asks; a map name means
  // the user meant this directory, and its load reports what is wrong.
  QString dir = QDir::currentPath();
  if (!argument && !IsCityDirectory(dir)) dir = ChooseCity(recent, messages, nullptr);
  int result = 0;
  while (!dir.isEmpty()) {
    const std::unique_ptr<TMainForm> form = OpenCityWindow(dir, argument, recent, messages);
    if (!form) {
      dir = ChooseCity(recent, messages, nullptr);
      continue;
    }
    form->SetCityChooser(
        [&recent, &messages](QWidget* parent) { return ChooseCity(recent, messages, parent); });
    ShowMaximised(*form);
    result = QApplication::exec();
    dir = form->NextCity();
    argument.reset();
  }
  return result;
}

}  // namespace varnik
