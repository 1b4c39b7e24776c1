#pragma once

#include <string>
#include <string_view>

#include <QByteArray>
#include <QString>

namespace d7o::ui {

// The core's texts are bytes in the program's 8-bit code page, Latin-1; Qt's are Unicode.
// Every text crosses between them here. Characters beyond Latin-1 become '?'.
inline QString fromLatin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toLatin1(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace d7o::ui
