#pragma once

// The command line, file names and standard streams as d7o-tool's commands take them: UTF-8
// text and bytes as they are. POSIX gives that already. On Windows the narrow argv is in the
// ANSI code page (a message "Grüße" or a log in a folder named in Greek arrives with '?'),
// file names must go to the system as UTF-16, and the standard streams are in text mode,
// where LF goes out as CR LF (so a JSON line or an exported CR LF line no longer matches
// what the same command writes elsewhere) and a ^Z read from a pipe ends the input.

#include <filesystem>
#include <string>
#include <vector>

#if defined(_WIN32)
#include "platform/windows_api.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
// windows.h before shellapi.h, which uses its types.
#include <shellapi.h>
#endif

namespace d7o::cli {

// The arguments after the program's name, in UTF-8.
inline std::vector<std::string> commandArguments(int argc, char** argv) {
#if defined(_WIN32)
  int count = 0;
  if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count); wide != nullptr) {
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(platform::utf8FromWide(wide[i]));
    LocalFree(wide);
    return args;
  }
#endif
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

// Standard input, output and error carry bytes unchanged, and a console shows UTF-8.
inline void useBinaryStandardStreams() {
#if defined(_WIN32)
  for (FILE* stream : {stdin, stdout, stderr}) _setmode(_fileno(stream), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
#endif
}

// A file named on the command line (UTF-8), as the system names it.
inline std::filesystem::path pathFromArgument(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace d7o::cli
