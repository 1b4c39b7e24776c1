// Arbitrary bytes as a capture file (or a plain log) read record by record as the replay
// reads one, and each of its lines decoded alone as a record line. Every record that
// comes out must come back the same from its own line: written by recordLine and decoded
// again, so a capture the program writes from what it read loses nothing. A file read to
// its end without a fault is as long as its last record, as the replay bar shows it.
#include "capture/capture_file.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

using d7o::capture::Direction;
using d7o::capture::LineEvent;
using d7o::capture::Record;

[[noreturn]] void fault(const char* what, const std::string& line) {
  std::fprintf(stderr, "capture_reader_fuzz: %s: %s\n", what, line.c_str());
  std::abort();
}

// What a record line keeps of an event: its value or its state, where the event has one.
bool sameRecord(const Record& a, const Record& b) {
  if (a.time != b.time || a.direction != b.direction) return false;
  if (a.direction != Direction::Event) return a.bytes == b.bytes;
  if (a.event != b.event) return false;
  switch (d7o::capture::payloadOf(a.event)) {
    case d7o::capture::EventPayload::Value:
      return a.value == b.value;
    case d7o::capture::EventPayload::On:
      return a.on == b.on;
    case d7o::capture::EventPayload::None:
      return true;
  }
  return true;
}

void roundTrip(const Record& record) {
  const std::string line = d7o::capture::recordLine(record);
  if (line.empty() || line.find('\n') != line.size() - 1) fault("not one line", line);
  std::string error;
  const auto back =
      d7o::capture::parseRecordLine(std::string_view(line).substr(0, line.size() - 1), error);
  if (!back) fault(("its own line does not read back: " + error).c_str(), line);
  if (!sameRecord(record, *back)) fault("read back differs", line);
}

// Plain logs are paced at the settings given; odd ones must not upset the pacing.
constexpr std::array<const char*, 4> kPlainSettings = {"115200,n,8,1", "300,e,7,2", "9600,n,8,1",
                                                       "0,n,8,1"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string plainSettings = kPlainSettings[size % kPlainSettings.size()];

  std::istringstream in(bytes);
  d7o::capture::Reader reader(in, plainSettings);
  d7o::capture::Millis last{0};
  while (const auto record = reader.next()) {
    if (record->time < last) fault("time goes back", d7o::capture::recordLine(*record));
    if (reader.offset() > size) fault("offset beyond the input", std::to_string(reader.offset()));
    last = record->time;
    roundTrip(*record);
  }
  if (!reader.error().empty() && reader.errorOffset() > size) {
    fault("error offset beyond the input", reader.error());
  }

  // The length comes from the file's tail; the fuzz build puts TMPDIR in memory.
  static const std::filesystem::path file =
      std::filesystem::temp_directory_path() /
      ("capture_reader_fuzz_" + std::to_string(::getpid()) + ".d7ocap");
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  const d7o::capture::Millis length = d7o::capture::captureLength(file, plainSettings);
  if (reader.error().empty() && length != last) {
    fault(("length " + std::to_string(length.count()) + " ms, last record at " +
           std::to_string(last.count()) + " ms")
              .c_str(),
          reader.isCapture() ? "capture" : "plain log");
  }

  // Every line alone, as the reader gives it to the decoder: without its line end.
  std::string_view rest(bytes);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string error;
    if (const auto record = d7o::capture::parseRecordLine(line, error)) {
      roundTrip(*record);
    } else if (error.empty()) {
      fault("refused without a reason", std::string(line));
    }
  }
  return 0;
}
