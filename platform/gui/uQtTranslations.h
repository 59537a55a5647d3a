#pragma once
// Qt's own texts in the language of the interface: the buttons of message
// boxes and file dialogs read "Да" and "Нет" beside the Russian questions
// instead of "Yes" and "No".

#include <QTranslator>

namespace varnik {

// Installs Qt's Russian translation into the running application for as
// long as the object lives; create it after the application object. Where
// the translation files are not installed the texts stay English.
class TQtTranslations {
 public:
  TQtTranslations();
  ~TQtTranslations();
  TQtTranslations(const TQtTranslations&) = delete;
  TQtTranslations& operator=(const TQtTranslations&) = delete;

  bool Loaded() const { return loaded_; }

 private:
  QTranslator translator_;
  bool loaded_ = false;
};

}  // namespace varnik
