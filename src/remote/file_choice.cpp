#include "remote/file_choice.h"

#include "app/file_io.h"

#include <algorithm>
#include <sstream>
#include <system_error>

namespace d7o::remote {

namespace {

#ifndef _WIN32
// Mount points as /proc/self/mounts writes them: blanks and tabs as octal escapes.
std::string unescapeMount(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string digits = field.substr(i + 1, 3);
      if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
        out += static_cast<char>(std::stoi(digits, nullptr, 8));
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

bool isVolume(const std::string& mountPoint) {
  for (const char* prefix : {"/media/", "/mnt/", "/run/media/"}) {
    if (mountPoint.starts_with(prefix)) return true;
  }
  return mountPoint == "/mnt" || mountPoint == "/home";
}
#endif

template <typename Keep>
std::vector<std::filesystem::path> entries(const std::filesystem::path& folder, Keep keep) {
  std::vector<std::filesystem::path> names;
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (keep(*it, typeError) && !typeError) names.push_back(it->path().filename());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::vector<std::string> drives() {
#ifdef _WIN32
  // The drive letters that answer.
  std::vector<std::string> letters;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const std::string root = std::string(1, letter) + ":\\";
    std::error_code ec;
    if (std::filesystem::exists(root, ec)) letters.push_back(root);
  }
  return letters;
#else
  std::vector<std::string> out{"/"};
  if (const auto mounts = app::readWholeFile("/proc/self/mounts")) {
    std::istringstream lines(*mounts);
    std::string line;
    while (std::getline(lines, line)) {
      std::istringstream fields(line);
      std::string device;
      std::string point;
      if (!(fields >> device >> point)) continue;
      point = unescapeMount(point);
      if (isVolume(point) && std::find(out.begin(), out.end(), point) == out.end()) {
        out.push_back(point);
      }
    }
  }
  return out;
#endif
}

std::vector<std::filesystem::path> subfolders(const std::filesystem::path& folder) {
  return entries(folder, [](const std::filesystem::directory_entry& e, std::error_code& ec) {
    return e.is_directory(ec);
  });
}

std::vector<std::filesystem::path> filesIn(const std::filesystem::path& folder) {
  return entries(folder, [](const std::filesystem::directory_entry& e, std::error_code& ec) {
    return e.is_regular_file(ec);
  });
}

}  // namespace d7o::remote
