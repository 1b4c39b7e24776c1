#include "app/path_text.h"

#include "forms/code_page.h"
#include "sms/pdu_codec.h"

namespace d7o::app {

namespace {

std::string inCodePage(std::u32string_view characters) {
  std::string text;
  for (const char32_t c : characters) text += static_cast<char>(forms::toCodePage(c).value_or('?'));
  return text;
}

}  // namespace

std::string pathText(const std::filesystem::path& path) {
#if defined(_WIN32)
  return inCodePage(path.u32string());
#else
  // A name that is not UTF-8 (made under another locale) is shown byte for byte.
  std::string bytes = path.string();
  if (const auto characters = sms::fromUtf8Strict(bytes)) return inCodePage(*characters);
  return bytes;
#endif
}

std::filesystem::path pathFromText(std::string_view text) {
#if defined(_WIN32)
  return std::filesystem::path(forms::fromCodePage(text));
#else
  return std::filesystem::path(sms::toUtf8(forms::fromCodePage(text)));
#endif
}

}  // namespace d7o::app
