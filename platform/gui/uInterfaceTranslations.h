#pragma once
// The windows' texts in the language of the interface: Russian, the source
// language, with Qt's own texts (buttons of message boxes and file dialogs)
// in Russian too; or English, from the translation built into the program,
// with Qt's texts as Qt writes them.

#include <QTranslator>
#include <optional>

#include "platform/gui/uQtTranslations.h"
#include "platform/uInterfaceText.h"

namespace varnik {

// Installs the translations of `language` into the running application for
// as long as the object lives; create it after the application object.
class TInterfaceTranslations {
 public:
  explicit TInterfaceTranslations(TInterfaceLanguage language);
  ~TInterfaceTranslations();
  TInterfaceTranslations(const TInterfaceTranslations&) = delete;
  TInterfaceTranslations& operator=(const TInterfaceTranslations&) = delete;

  // Whether the English translation was found and installed.
  bool EnglishInstalled() const { return englishInstalled_; }

 private:
  std::optional<TQtTranslations> qt_;
  QTranslator english_;
  bool englishInstalled_ = false;
};

}  // namespace varnik
