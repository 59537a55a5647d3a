// VarnikEditor: the map editor, started in a city directory with the file
// name of one map as the optional first argument.

#include <QApplication>
#include <QScreen>
#include <optional>
#include <string>

#include "editor/fMain.h"
#include "platform/gui/uInfoOptions.h"
#include "platform/gui/uMessageBoxSink.h"
#include "platform/gui/uInterfaceTranslations.h"
#include "platform/uCodePage.h"
#include "platform/uQtText.h"

int main(int argc, char* argv[]) {
  const varnik::TProgramInfo info{
      "VarnikEditor", "Editor of schematic public-transport maps. Start it in a city directory.", "[MAP]",
      "The file name of the map to show (default: Metro.map, else the first map)."};
  if (std::optional<int> answered = varnik::AnswerInfoOptions(argc, argv, info)) return *answered;
  QApplication application(argc, argv);
  const varnik::TInterfaceTranslations translations(varnik::UserInterfaceLanguage());
  // Messages of the load come before the window shows; they carry its caption.
  varnik::TMessageBoxSink messages(nullptr, varnik::FromQString(varnik::TMainForm::tr(varnik::kMainCaption)));
  varnik::SetMessageSink(&messages);
  std::optional<std::string> firstArgument;
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) firstArgument = varnik::FromQString(arguments[1]);
  int result = 0;
  {
    varnik::TMainForm form(firstArgument);
    // Without a window manager "maximised" means nothing; the screen's free
    // area is what it would give.
    if (QScreen* screen = QGuiApplication::primaryScreen()) form.setGeometry(screen->availableGeometry());
    form.showMaximized();
    result = QApplication::exec();
  }
  varnik::SetMessageSink(nullptr);
  return result;
}
