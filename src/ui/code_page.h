#pragma once

// Every text crosses between the core (bytes of the windows' code page, Windows-1252,
// forms/code_page.h) and Qt (Unicode) here.

#include <string>
#include <string_view>

#include <QString>
#include <QStringView>

namespace d7o::ui {

QString fromCodePage(std::string_view bytes);

// A text for the core: the bytes, and the characters outside the code page, which went
// as "?" (in text order; empty when all of it fits).
struct CodePageText {
  std::string bytes;
  std::u32string replaced;
};
CodePageText encodeCodePage(QStringView text);

// The bytes alone, for texts the program itself made (a path, a dialog's title).
inline std::string toCodePage(QStringView text) {
  return encodeCodePage(text).bytes;
}

// Where `position` of `text` lies once its characters outside the code page are "?"
// (a character beyond 16 bits is two of `text` and one "?").
int positionInCodePageText(QStringView text, int position);

}  // namespace d7o::ui
