#include "app/path_text.h"

#include "forms/code_page.h"

namespace d7o::app {

std::string pathText(const std::filesystem::path& path) {
#if defined(_WIN32)
  std::string text;
  for (const char32_t c : path.u32string())
    text += static_cast<char>(forms::toCodePage(c).value_or('?'));
  return text;
#else
  return path.string();
#endif
}

std::filesystem::path pathFromText(std::string_view text) {
#if defined(_WIN32)
  return std::filesystem::path(forms::fromCodePage(text));
#else
  return std::filesystem::path(std::string(text));
#endif
}

}  // namespace d7o::app
