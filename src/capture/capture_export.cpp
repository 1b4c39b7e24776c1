#include "capture/capture_export.h"

#include "app/text.h"
#include "gps/nmea_checksum.h"
#include "link/modem_replies.h"

#include <array>
#include <charconv>
#include <chrono>
#include <system_error>
#include <vector>

namespace d7o::capture {

namespace {

constexpr std::int64_t kMillisPerDay = 86'400'000;
// Output goes to the stream in blocks of about this size.
constexpr std::size_t kWriteAt = 1 << 16;
// Bytes without a line end (a binary dump) come out as lines of at most this length, so a
// capture of one never holds all of it in memory.
constexpr std::size_t kLongestLine = 4096;

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::optional<int> twoDigits(std::string_view text, std::size_t at) {
  if (at + 2 > text.size() || !isDigit(text[at]) || !isDigit(text[at + 1])) return std::nullopt;
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

using app::appendNumber;

// "18:22:25.136" for a time of day in milliseconds (or a longer span, in hours beyond 23).
void appendClock(std::string& out, std::int64_t millis) {
  appendNumber(out, millis / 3'600'000, 2);
  out += ':';
  appendNumber(out, millis / 60'000 % 60, 2);
  out += ':';
  appendNumber(out, millis / 1000 % 60, 2);
  out += '.';
  appendNumber(out, millis % 1000, 3);
}

std::optional<std::int64_t> daysSinceEpoch(int year, int month, int day) {
  using namespace std::chrono;
  const year_month_day date{std::chrono::year(year), std::chrono::month(unsigned(month)),
                            std::chrono::day(unsigned(day))};
  if (!date.ok()) return std::nullopt;
  return sys_days(date).time_since_epoch().count();
}

// The line's bytes as readable, unambiguous ASCII: printable characters as they are, every
// other byte (and "<" itself) as its value in hex, "<1A>" for Ctrl-Z.
void appendShown(std::string& out, std::string_view bytes) {
  std::size_t run = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b >= 0x20 && b < 0x7f && b != '<') continue;
    out.append(bytes.data() + run, i - run);
    out += '<';
    out += kHexDigits[b >> 4];
    out += kHexDigits[b & 0xf];
    out += '>';
    run = i + 1;
  }
  out.append(bytes.data() + run, bytes.size() - run);
}

// "$GPRMC,..." split at its commas, without the "$" and the checksum.
std::size_t splitFields(std::string_view sentence, std::array<std::string_view, 24>& fields) {
  std::string_view body = sentence.substr(1);
  if (const auto star = body.rfind('*'); star != std::string_view::npos)
    body = body.substr(0, star);
  std::size_t count = 0;
  while (count < fields.size()) {
    const auto comma = body.find(',');
    fields[count++] = body.substr(0, comma);
    if (comma == std::string_view::npos) break;
    body.remove_prefix(comma + 1);
  }
  return count;
}

// "hhmmss" or "hhmmss.sss" -> milliseconds of the day.
std::optional<std::int64_t> nmeaTimeOf(std::string_view text) {
  const auto h = twoDigits(text, 0), m = twoDigits(text, 2), s = twoDigits(text, 4);
  if (!h || !m || !s || *h > 23 || *m > 59 || *s > 59) return std::nullopt;
  std::int64_t millis = ((*h * 60 + *m) * 60 + *s) * 1000;
  if (text.size() == 6) return millis;
  if (text[6] != '.') return std::nullopt;
  int scale = 100;
  for (std::size_t i = 7; i < text.size(); ++i) {
    if (!isDigit(text[i])) return std::nullopt;
    millis += (text[i] - '0') * scale;
    scale /= 10;
  }
  return millis;
}

// "ddmmyy" -> days since 1970; two-digit years from 80 are 19xx (GPS began in 1980).
std::optional<std::int64_t> nmeaDateOf(std::string_view text) {
  const auto d = twoDigits(text, 0), m = twoDigits(text, 2), y = twoDigits(text, 4);
  if (text.size() != 6 || !d || !m || !y) return std::nullopt;
  return daysSinceEpoch(*y >= 80 ? 1900 + *y : 2000 + *y, *m, *d);
}

// "4807.038","N" -> 48.1173; "dddmm.mmmm" for a longitude. None when it is no such angle.
std::optional<double> nmeaAngleOf(std::string_view text, std::string_view hemisphere, char positive,
                                  char negative, int highest) {
  if (hemisphere.size() != 1 || (hemisphere[0] != positive && hemisphere[0] != negative)) {
    return std::nullopt;
  }
  const auto point = text.find('.');
  const std::size_t whole = point == std::string_view::npos ? text.size() : point;
  if (whole < 3) return std::nullopt;  // degrees and two digits of minutes
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i != point && !isDigit(text[i])) return std::nullopt;
  }
  double minutes = 0;
  const auto minutesText = text.substr(whole - 2);
  if (std::from_chars(minutesText.data(), minutesText.data() + minutesText.size(), minutes).ec !=
      std::errc()) {
    return std::nullopt;
  }
  const auto degrees = app::digitsUpTo(text.substr(0, whole - 2), highest);
  if (!degrees || minutes >= 60 || (*degrees == highest && minutes > 0)) return std::nullopt;
  const double angle = *degrees + minutes / 60;
  return hemisphere[0] == negative && angle != 0 ? -angle : angle;
}

// Decimal degrees to within a centimetre, without trailing zeros: "48.1173", "-74.006".
void appendDegrees(std::string& out, double degrees) {
  char text[32];
  auto [end, ec] = std::to_chars(text, text + sizeof text, degrees, std::chars_format::fixed, 8);
  while (end[-1] == '0') --end;
  if (end[-1] == '.') ++end;  // "0.0"
  out.append(text, end);
}

// An NMEA decimal as GPX (xsd:decimal) takes it: "545.4", "-12.5"; none for "", "1e3".
bool isDecimal(std::string_view text) {
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  bool digit = false, point = false;
  for (const char c : text) {
    if (isDigit(c)) {
      digit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

// Bytes split into lines at CR or LF, one direction's worth.
struct LineSplit {
  std::string partial;  // the text of the line not yet ended
  Millis partialTime{0};
};

struct Point {
  std::int64_t utcMillis = 0;
  std::int64_t timeOfDay = 0;
  double lat = 0, lon = 0;
  std::string elevation;
};

}  // namespace

std::optional<ExportFormat> exportFormatByName(std::string_view name) {
  if (name == "text") return ExportFormat::Text;
  if (name == "nmea") return ExportFormat::Nmea;
  if (name == "gpx") return ExportFormat::Gpx;
  if (name == "csv") return ExportFormat::Csv;
  return std::nullopt;
}

std::optional<std::int64_t> utcMillisOf(std::string_view text) {
  // 2026-12-09T18:22:20.123Z
  const auto y1 = twoDigits(text, 0), y2 = twoDigits(text, 2), mo = twoDigits(text, 5),
             d = twoDigits(text, 8), h = twoDigits(text, 11), mi = twoDigits(text, 14),
             s = twoDigits(text, 17);
  if (text.size() < 20 || !y1 || !y2 || !mo || !d || !h || !mi || !s || text[4] != '-' ||
      text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':' || *h > 23 ||
      *mi > 59 || *s > 59 || text.back() != 'Z') {
    return std::nullopt;
  }
  const auto days = daysSinceEpoch(*y1 * 100 + *y2, *mo, *d);
  if (!days) return std::nullopt;
  std::int64_t millis = 0;
  if (text.size() != 20) {
    // Milliseconds from the first three digits of the fraction.
    const auto fraction = text.substr(20, text.size() - 21);
    if (fraction.empty() || fraction.size() > 9 || text[19] != '.' ||
        !app::digitsUpTo(fraction, 999'999'999)) {
      return std::nullopt;
    }
    for (std::size_t i = 0, scale = 100; i < fraction.size() && scale > 0; ++i, scale /= 10) {
      millis += (fraction[i] - '0') * static_cast<std::int64_t>(scale);
    }
  } else if (text[19] != 'Z') {
    return std::nullopt;
  }
  return (*days * 86'400 + (*h * 60 + *mi) * 60 + *s) * 1000 + millis;
}

bool isNmeaSentence(std::string_view line, bool* badChecksum) {
  const gps::SentenceCheck check = gps::checkSentence(line);
  if (badChecksum != nullptr) *badChecksum = check == gps::SentenceCheck::BadChecksum;
  return check == gps::SentenceCheck::Good || check == gps::SentenceCheck::NoChecksum;
}

// --- Exporter ---

struct Exporter::State {
  State(ExportFormat f, const Header& header, std::ostream& o)
      : format(f), out(o), start(utcMillisOf(header.startUtc)) {
    buffer.reserve(2 * kWriteAt);
  }

  ExportFormat format;
  std::ostream& out;
  std::optional<std::int64_t> start;
  std::string buffer;
  ExportCounts counts;
  LineSplit received, sent;
  bool begun = false, finished = false, failed = false;
  // GPX: whether a segment is open, the last GGA's altitude by its time, and the point
  // waiting for a GGA of its time that comes after it.
  bool inSegment = false;
  std::optional<std::int64_t> ggaTime;
  std::string ggaElevation;
  std::optional<Point> pending;

  void write(bool all) {
    if (failed || buffer.empty() || (!all && buffer.size() < kWriteAt)) return;
    out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    buffer.clear();
    if (all) out.flush();
    if (!out) failed = true;
  }

  void begin() {
    if (begun) return;
    begun = true;
    if (format == ExportFormat::Csv) buffer += link::kSignalCsvHeader;
    if (format != ExportFormat::Gpx) return;
    buffer +=
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gpx version=\"1.1\" creator=\"d7o-tool " D7O_VERSION
        "\" xmlns=\"http://www.topografix.com/GPX/1/1\""
        " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
        " xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1"
        " http://www.topografix.com/GPX/1/1/gpx.xsd\">\n";
    if (start) {
      buffer += " <metadata><time>";
      buffer += utcText(*start);
      buffer += "</time></metadata>\n";
    }
    buffer += " <trk>\n";
  }

  // When the record happened: the time of day of the capture, or the time since its start.
  void appendWhen(Millis time) {
    if (start) {
      const std::int64_t ofDay = (*start + time.count()) % kMillisPerDay;
      appendClock(buffer, ofDay < 0 ? ofDay + kMillisPerDay : ofDay);
    } else {
      appendClock(buffer, time.count());
    }
  }

  void appendUtcOrElapsed(Millis time) {
    if (start) {
      buffer += utcText(*start + time.count());
    } else {
      appendClock(buffer, time.count());
    }
  }

  // Bytes of one direction into lines; each line ends with the record its end came in.
  void split(Direction direction, Millis time, std::string_view bytes) {
    LineSplit& s = direction == Direction::Sent ? sent : received;
    std::size_t from = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] != '\r' && bytes[i] != '\n') continue;
      if (s.partial.empty()) {
        line(direction, time, bytes.substr(from, i - from), true);
      } else {
        s.partial.append(bytes.data() + from, i - from);
        line(direction, time, s.partial, true);
        s.partial.clear();
      }
      from = i + 1;
    }
    if (from == bytes.size()) return;
    s.partial.append(bytes.data() + from, bytes.size() - from);
    s.partialTime = time;
    while (s.partial.size() >= kLongestLine) {
      line(direction, time, std::string_view(s.partial).substr(0, kLongestLine), false);
      s.partial.erase(0, kLongestLine);
    }
  }

  // The line still open in a direction, as it is.
  void endPartial(Direction direction) {
    LineSplit& s = direction == Direction::Sent ? sent : received;
    if (s.partial.empty()) return;
    line(direction, s.partialTime, s.partial, false);
    s.partial.clear();
  }

  // `complete`: the line came with its line end. A line cut off may be a sentence or reply
  // cut short ("+CREG: 0,1" read as "+CREG: 0"), so only a transcript shows it, and a
  // sentence whose checksum vouches for it.
  void line(Direction direction, Millis time, std::string_view text, bool complete) {
    if (text.empty()) return;
    ++counts.lines;
    if (format == ExportFormat::Text) {
      appendWhen(time);
      buffer += direction == Direction::Sent ? " > " : " < ";
      appendShown(buffer, text);
      buffer += '\n';
      ++counts.written;
      return;
    }
    if (direction != Direction::Received) return;
    if (format == ExportFormat::Csv) {
      if (complete) csvRow(time, text);
      return;
    }
    if (text[0] != '$') return;
    bool badChecksum = false;
    if (!isNmeaSentence(text, &badChecksum)) {
      if (badChecksum) ++counts.badChecksums;
      return;
    }
    if (!complete && text[text.size() - 3] != '*') return;
    if (format == ExportFormat::Nmea) {
      buffer += text;
      buffer += "\r\n";
      ++counts.written;
    } else {
      gpxSentence(text);
    }
  }

  void csvRow(Millis time, std::string_view text) {
    const auto quality = link::signalQualityOf(text);
    const auto state = quality ? std::nullopt : link::registrationStateOf(text);
    if (!quality && !state) return;
    appendUtcOrElapsed(time);
    link::appendSignalCsvFields(buffer, quality, state);
    ++counts.written;
  }

  void gpxSentence(std::string_view sentence) {
    std::array<std::string_view, 24> f;
    const std::size_t n = splitFields(sentence, f);
    if (f[0].size() != 5) return;
    const std::string_view type = f[0].substr(2);
    if (type == "GGA" && n > 9) {
      // The altitude of a fix: none where the quality (field 6) says there is none.
      ggaTime = nmeaTimeOf(f[1]);
      ggaElevation = f[6] != "0" && !f[6].empty() && isDecimal(f[9]) ? std::string(f[9]) : "";
      if (pending && ggaTime == pending->timeOfDay && pending->elevation.empty()) {
        pending->elevation = ggaElevation;
      }
      return;
    }
    if (type != "RMC" || n < 10) return;
    writePending();
    if (f[2] != "A") {
      endSegment();  // the fix is lost: the track goes on in a new segment
      return;
    }
    const auto time = nmeaTimeOf(f[1]);
    const auto date = nmeaDateOf(f[9]);
    const auto lat = nmeaAngleOf(f[3], f[4], 'N', 'S', 90);
    const auto lon = nmeaAngleOf(f[5], f[6], 'E', 'W', 180);
    if (!time || !date || !lat || !lon) return;
    Point& p = pending.emplace();
    p.timeOfDay = *time;
    p.utcMillis = *date * kMillisPerDay + *time;
    p.lat = *lat;
    p.lon = *lon;
    if (ggaTime == *time) p.elevation = ggaElevation;
  }

  void writePending() {
    if (!pending) return;
    if (!inSegment) {
      buffer += "  <trkseg>\n";
      inSegment = true;
    }
    buffer += "   <trkpt lat=\"";
    appendDegrees(buffer, pending->lat);
    buffer += "\" lon=\"";
    appendDegrees(buffer, pending->lon);
    buffer += "\">";
    if (!pending->elevation.empty()) {
      buffer += "<ele>";
      buffer += pending->elevation;
      buffer += "</ele>";
    }
    buffer += "<time>";
    buffer += utcText(pending->utcMillis, false);
    buffer += "</time></trkpt>\n";
    ++counts.written;
    pending.reset();
  }

  void endSegment() {
    writePending();
    if (inSegment) buffer += "  </trkseg>\n";
    inSegment = false;
  }

  void event(const Record& record) {
    const LineEvent e = record.event;
    // A closed port ends what was on the line: bytes after it begin anew.
    if (e == LineEvent::Opened || e == LineEvent::Closed || e == LineEvent::Vanished ||
        e == LineEvent::Port) {
      endPartial(Direction::Received);
      endPartial(Direction::Sent);
      if (format == ExportFormat::Gpx) endSegment();
    }
    if (format != ExportFormat::Text) return;
    appendWhen(record.time);
    buffer += " * ";
    buffer += eventName(e);
    if (payloadOf(e) == EventPayload::Value) {
      buffer += ' ';
      appendShown(buffer, record.value);
    } else if (payloadOf(e) == EventPayload::On) {
      buffer += record.on ? " on" : " off";
    }
    buffer += '\n';
    ++counts.written;
  }
};

Exporter::Exporter(ExportFormat format, const Header& header, std::ostream& out)
    : m_state(std::make_unique<State>(format, header, out)) {}

Exporter::~Exporter() = default;

void Exporter::add(const Record& record) {
  State& s = *m_state;
  if (s.finished || s.failed) return;
  s.begin();
  if (record.direction == Direction::Event) {
    s.event(record);
  } else {
    s.split(record.direction, record.time, record.bytes);
  }
  s.write(false);
}

void Exporter::finish() {
  State& s = *m_state;
  if (s.finished) return;
  s.begin();
  s.endPartial(Direction::Received);
  s.endPartial(Direction::Sent);
  if (s.format == ExportFormat::Gpx) {
    s.endSegment();
    s.buffer += " </trk>\n</gpx>\n";
  }
  s.finished = true;
  s.write(true);
}

bool Exporter::good() const {
  return !m_state->failed;
}

const ExportCounts& Exporter::counts() const {
  return m_state->counts;
}

ExportResult exportCapture(std::istream& in, ExportFormat format, std::ostream& out,
                           const std::string& plainSettings) {
  ExportResult result;
  Reader reader(in, plainSettings);
  Exporter exporter(format, reader.header(), out);
  const std::string& start = reader.header().startUtc;
  if (!start.empty() && !utcMillisOf(start)) appendShown(result.unreadStart, start);
  while (exporter.good()) {
    const auto record = reader.next();
    if (!record) break;
    exporter.add(*record);
  }
  result.error = reader.error();
  result.errorOffset = reader.errorOffset();
  if (result.error.empty() && in.bad()) result.readFailed = true;
  exporter.finish();
  result.counts = exporter.counts();
  result.outputFailed = !exporter.good();
  return result;
}

}  // namespace d7o::capture
