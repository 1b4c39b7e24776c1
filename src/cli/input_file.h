#pragma once

// The input of a command that reads a log or a capture: a file, or standard input for "-".

#include "cli/system_text.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <istream>
#include <ostream>
#include <string>

namespace d7o::cli {

struct InputFile {
  std::string name;  // as messages name it: the file, or "standard input"
  std::ifstream file;
  std::istream* stream = nullptr;  // nullptr: it could not be opened (said on the error stream)
};

// Opens `path` ("-": `standardIn`) in binary; a file that cannot be read is said on `err`
// with the system's reason.
inline void openInput(const std::string& path, std::istream& standardIn, std::ostream& err,
                      InputFile& input) {
  if (path == "-") {
    input.name = "standard input";
    input.stream = &standardIn;
    return;
  }
  input.name = path;
  errno = 0;
  input.file.open(pathFromArgument(path), std::ios::binary);
  if (!input.file) {
    err << "d7o-tool: cannot read " << path
        << (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string()) << "\n";
    return;
  }
  input.stream = &input.file;
}

}  // namespace d7o::cli
