#include "platform/gui/uInterfaceTranslations.h"

#include <QCoreApplication>

namespace varnik {

namespace {

// Where the build puts the compiled English translation among the
// program's resources.
const char* const kEnglishTranslation = ":/translations/varnik_en.qm";

}  // namespace

TInterfaceTranslations::TInterfaceTranslations(TInterfaceLanguage language) {
  if (language == TInterfaceLanguage::Russian) {
    qt_.emplace();
    return;
  }
  englishInstalled_ = english_.load(QString::fromLatin1(kEnglishTranslation)) &&
                      QCoreApplication::installTranslator(&english_);
}

TInterfaceTranslations::~TInterfaceTranslations() {
  if (englishInstalled_) QCoreApplication::removeTranslator(&english_);
}

}  // namespace varnik
