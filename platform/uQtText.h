#pragma once
// Conversions between the model's Windows-1251 bytes and Qt's strings, for
// window texts, the clipboard and font rendering.

#include <QString>
#include <string>
#include <string_view>

#include "platform/uCodePage.h"

namespace varnik {

inline QString ToQString(std::string_view cp1251) {
  std::string utf8 = Cp1251ToUtf8(cp1251);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string FromQString(const QString& text) {
  QByteArray utf8 = text.toUtf8();
  return Utf8ToCp1251(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

}  // namespace varnik
