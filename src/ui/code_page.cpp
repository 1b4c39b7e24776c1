#include "ui/code_page.h"

#include "forms/code_page.h"

#include <QList>

namespace d7o::ui {

QString fromCodePage(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (const char b : bytes) {
    const char32_t c = forms::fromCodePage(static_cast<unsigned char>(b));
    // Every character of the code page is one 16-bit unit.
    text.append(QChar(static_cast<char16_t>(c)));
  }
  return text;
}

CodePageText encodeCodePage(QStringView text) {
  CodePageText out;
  out.bytes.reserve(static_cast<std::size_t>(text.size()));
  for (const char32_t c : text.toUcs4()) {
    if (const auto byte = forms::toCodePage(c)) {
      out.bytes.push_back(static_cast<char>(*byte));
    } else {
      out.bytes.push_back('?');
      out.replaced.push_back(c);
    }
  }
  return out;
}

int positionInCodePageText(QStringView text, int position) {
  int shown = 0;
  for (qsizetype i = 0; i < text.size() && i < position; ++i) {
    // The second half of a pair adds nothing: the pair is one "?".
    if (!text[i].isLowSurrogate() || i == 0 || !text[i - 1].isHighSurrogate()) ++shown;
  }
  return shown;
}

}  // namespace d7o::ui
