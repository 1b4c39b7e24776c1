// Arbitrary bytes as TARVIK.INI: the field splitter on its own, and the program's start-up
// reading the same file from its folder, so a hand-edited or damaged file can neither crash
// the splitter nor the lists, port and numbers the start-up fills from its items.
#include "app/tarvik_ini.h"
#include "support/rig.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string content(reinterpret_cast<const char*>(data), size);
  (void)d7o::app::parseIniItems(content);

  // A fresh program folder per input, so a finding replays from its input alone.
  d7o::test::Rig rig;
  {
    std::ofstream file(rig.folder.path() / d7o::app::kIniFileName, std::ios::binary);
    file << content;
  }
  if (rig.start()) rig.run(d7o::platform::Millis(0));
  return 0;
}
