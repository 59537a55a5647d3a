#include "platform/gui/uQtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace varnik {

TQtTranslations::TQtTranslations() {
  // Russian is the source language of our own texts; Qt's have to match.
  loaded_ = translator_.load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                             QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
            QCoreApplication::installTranslator(&translator_);
}

TQtTranslations::~TQtTranslations() {
  if (loaded_) QCoreApplication::removeTranslator(&translator_);
}

}  // namespace varnik
