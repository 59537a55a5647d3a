// VarnikVecEditor: edits one .vec file, named by the first argument.

#include <QApplication>
#include <optional>

#include "platform/gui/uInfoOptions.h"
#include "platform/gui/uMessageBoxSink.h"
#include "platform/gui/uInterfaceTranslations.h"
#include "platform/uCanvas.h"
#include "platform/uFiles.h"
#include "platform/uQtText.h"
#include "veceditor/fMain.h"

namespace {

// Message boxes carry the window's caption of the moment, which changes
// with the file being edited.
class TWindowMessageSink : public varnik::TMessageSink {
 public:
  explicit TWindowMessageSink(QWidget& window) : window_(window) {}
  void Show(const std::string& text, varnik::TMessageStyle style) override {
    varnik::TMessageBoxSink(&window_, varnik::FromQString(window_.windowTitle())).Show(text, style);
  }
  bool Ask(const std::string& text) override {
    return varnik::TMessageBoxSink(&window_, varnik::FromQString(window_.windowTitle())).Ask(text);
  }

 private:
  QWidget& window_;
};

}  // namespace

int main(int argc, char** argv) {
  const varnik::TProgramInfo info{"VarnikVecEditor", "Editor of Varnik vector images (.vec).",
                                  "[FILE.vec] [/-AutoSave]",
                                  "The picture to edit; /-AutoSave turns the six-second save off."};
  if (std::optional<int> answered = varnik::AnswerInfoOptions(argc, argv, info)) return *answered;
  QApplication application(argc, argv);
  const varnik::TInterfaceTranslations translations(varnik::UserInterfaceLanguage());
  varnik::EnsureGuiApplication();
  varnik::MainForm form(QApplication::arguments().mid(1), varnik::ProgramDir() + "Varnik.ini");
  TWindowMessageSink sink(form);
  varnik::TScopedMessageSink messages(sink);
  form.showMaximized();
  return QApplication::exec();
}
