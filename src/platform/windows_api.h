#pragma once

// <windows.h> for the few places that call Windows itself, without its min and max macros
// and its rarely used parts; and UTF-16 from Windows into the UTF-8 of the rest. Nothing
// elsewhere.

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <string>
#include <string_view>
#include <windows.h>

namespace d7o::platform {

inline std::string utf8FromWide(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, out.data(), size, nullptr, nullptr);
  }
  return out;
}

}  // namespace d7o::platform
#endif
