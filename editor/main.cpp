// VarnikEditor: the map editor, started in a city directory with the file
// name of one map as the optional first argument; started elsewhere, it
// asks which city to open.

#include <QApplication>
#include <QSettings>
#include <optional>
#include <string>

#include "editor/fMain.h"
#include "editor/uEditorStart.h"
#include "platform/gui/uInfoOptions.h"
#include "platform/gui/uMessageBoxSink.h"
#include "platform/gui/uInterfaceTranslations.h"
#include "platform/uCodePage.h"
#include "platform/uQtText.h"

int main(int argc, char* argv[]) {
  const varnik::TProgramInfo info{
      "VarnikEditor",
      "Editor of schematic public-transport maps. Start it in a city directory, or elsewhere to choose a "
      "city.",
      "[MAP]", "The file name of the map to show (default: Metro.map, else the first map)."};
  if (std::optional<int> answered = varnik::AnswerInfoOptions(argc, argv, info)) return *answered;
  QApplication application(argc, argv);
  const varnik::TInterfaceTranslations translations(varnik::UserInterfaceLanguage());
  // Messages of the load come before the window shows; they carry its caption.
  varnik::TMessageBoxSink messages(nullptr, varnik::FromQString(varnik::TMainForm::tr(varnik::kMainCaption)));
  varnik::SetMessageSink(&messages);
  std::optional<std::string> firstArgument;
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) firstArgument = varnik::FromQString(arguments[1]);
  // The recently opened cities are the user's, kept beside other programs' settings.
  QSettings settings(QStringLiteral("Varnik"), QStringLiteral("VarnikEditor"));
  const int result = varnik::RunEditor(firstArgument, settings, messages);
  varnik::SetMessageSink(nullptr);
  return result;
}
