#pragma once

// The step d7o-tool's "nmea" command takes per input line, header-only so the golden
// test compiles the very same code without linking the tool.

#include "app/text.h"
#include "gps/gps_fix.h"
#include "gps/nmea_evaluation.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace d7o::cli {

// The device's bytes are Latin-1; JSON text must be UTF-8, so every byte from 0x80 on
// becomes its two-byte UTF-8 form.
inline std::string latin1ToUtf8(std::string_view bytes) {
  std::string utf8;
  utf8.reserve(bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      utf8.push_back(c);
    } else {
      utf8.push_back(static_cast<char>(0xC0 | (b >> 6)));
      utf8.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return utf8;
}

// One value's text inside a JSON string (the quotes are the caller's): its Latin-1 bytes
// in UTF-8, escaped as nlohmann's dump() escapes (the form the tool has always printed):
// \" \\ \b \t \n \f \r, other control characters as \u00xx in lower-case hex, DEL and
// everything else as it is. Written straight into `out`, as building a JSON value per line
// cost most of the tool's time; a text with nothing to escape, nearly every one, is a
// single append.
inline void appendJsonText(std::string& out, std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::size_t plain = 0;  // start of the run of bytes that go out unchanged
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b >= 0x20 && b < 0x80 && b != '"' && b != '\\') continue;
    out.append(bytes.data() + plain, i - plain);
    plain = i + 1;
    if (b >= 0x80) {
      const char utf8[2] = {static_cast<char>(0xC0 | (b >> 6)),
                            static_cast<char>(0x80 | (b & 0x3F))};
      out.append(utf8, 2);
      continue;
    }
    char escaped[6] = {'\\', 0, 0, 0, 0, 0};
    std::size_t length = 2;
    switch (b) {
      case '"':
        escaped[1] = '"';
        break;
      case '\\':
        escaped[1] = '\\';
        break;
      case '\b':
        escaped[1] = 'b';
        break;
      case '\t':
        escaped[1] = 't';
        break;
      case '\n':
        escaped[1] = 'n';
        break;
      case '\f':
        escaped[1] = 'f';
        break;
      case '\r':
        escaped[1] = 'r';
        break;
      default:
        escaped[1] = 'u';
        escaped[2] = '0';
        escaped[3] = '0';
        escaped[4] = kHex[b >> 4];
        escaped[5] = kHex[b & 0xF];
        length = 6;
    }
    out.append(escaped, length);
  }
  out.append(bytes.data() + plain, bytes.size() - plain);
}

// The analyzer's values as one JSON object on one line, keys in the analyzer's reading
// order, no blanks: what nlohmann's dump() of the same object gives. Each literal holds
// the closing quote of one value, the next key and the opening quote of the next value.
inline void appendFixJson(std::string& out, const gps::GpsFix& fix) {
  const auto text = [&out](const std::string& value) { appendJsonText(out, value); };
  out.append("{\"utc\":\"");
  text(fix.utc);
  out.append("\",\"date\":\"");
  text(fix.date);
  out.append("\",\"lat\":\"");
  text(fix.lat);
  out.append("\",\"ns\":\"");
  text(fix.ns);
  out.append("\",\"lon\":\"");
  text(fix.lon);
  out.append("\",\"ew\":\"");
  text(fix.ew);
  out.append("\",\"inUse\":\"");
  text(fix.inUse);
  out.append("\",\"quality\":\"");
  text(fix.quality);
  out.append("\",\"altitude\":\"");
  text(fix.altitude);
  out.append("\",\"speed\":\"");
  text(fix.speed);
  out.append("\",\"speedUnit\":\"");
  text(fix.speedUnit);
  out.append("\",\"course\":\"");
  text(fix.course);
  out.append("\",\"validity\":\"");
  text(fix.validity);
  out.append("\",\"mode\":\"");
  text(fix.mode);
  out.append("\",\"fixType\":\"");
  text(fix.fixType);
  out.append("\",\"prn\":[\"");
  for (std::size_t i = 0; i < fix.prn.size(); ++i) {
    if (i != 0) out.append("\",\"");
    text(fix.prn[i]);
  }
  out.append("\"],\"pdop\":\"");
  text(fix.pdop);
  out.append("\",\"hdop\":\"");
  text(fix.hdop);
  out.append("\",\"vdop\":\"");
  text(fix.vdop);
  out.append("\",\"inView\":\"");
  text(fix.inView);
  out.append("\",\"satellites\":[");
  for (std::size_t i = 0; i < fix.satellites.size(); ++i) {
    const auto& row = fix.satellites[i];
    out.append(i == 0 ? "{\"nr\":\"" : ",{\"nr\":\"");
    text(row.nr);
    out.append("\",\"el\":\"");
    text(row.el);
    out.append("\",\"az\":\"");
    text(row.az);
    out.append("\",\"lev\":\"");
    text(row.lev);
    out.append("\"}");
  }
  out.append("]}");
}

// An analyzer fed line by line, as in GPS receive mode: state carries from line to line.
class NmeaToJson {
 public:
  explicit NmeaToJson(bool speedInKmh) : m_speedInKmh(speedInKmh) { gps::GPSformRefresh(m_fix); }

  // Evaluates one input line (without its LF) and appends the analyzer's values after it
  // to `out` as one line of JSON, without a line end.
  void appendLine(std::string_view line, std::string& out) {
    // The receive path turns the line end CR LF, and any other CR or LF, into blanks; a
    // line read with its CR (a CR LF log) ends the same as one without.
    // One buffer for every line, so a long log allocates nothing per line.
    m_reply.assign(line);
    if (!m_reply.empty() && m_reply.back() == '\r') m_reply.pop_back();
    m_reply += "\r\n";
    app::blankLineEnds(m_reply);
    gps::NmeaState state{m_slotPointer, m_gpsSpeed, m_speedInKmh};
    gps::evaluateReply(m_reply, m_fix, state);
    appendFixJson(out, m_fix);
  }

  // The same, as a string of its own.
  std::string line(std::string_view line) {
    std::string out;
    appendLine(line, out);
    return out;
  }

  const gps::GpsFix& fix() const { return m_fix; }

 private:
  gps::GpsFix m_fix;
  std::string m_reply;
  int m_slotPointer = 0;
  double m_gpsSpeed = 0;
  bool m_speedInKmh;
};

// The input as it arrives, in pieces cut anywhere, split into lines at each LF (a last
// line without one counts too, an empty input has none): every line's JSON line, LF
// ended, is appended to the output.
class NmeaLines {
 public:
  explicit NmeaLines(bool speedInKmh) : m_analyzer(speedInKmh) {}

  void feed(std::string_view bytes, std::string& out) {
    for (;;) {
      const auto lf = bytes.find('\n');
      if (lf == std::string_view::npos) break;
      if (m_pending.empty()) {
        m_analyzer.appendLine(bytes.substr(0, lf), out);
      } else {
        m_pending.append(bytes.substr(0, lf));
        m_analyzer.appendLine(m_pending, out);
        m_pending.clear();
      }
      out.push_back('\n');
      bytes.remove_prefix(lf + 1);
    }
    m_pending.append(bytes);
  }

  // The end of the input.
  void finish(std::string& out) {
    if (!m_pending.empty()) {
      m_analyzer.appendLine(m_pending, out);
      out.push_back('\n');
    }
    m_pending.clear();
  }

  const gps::GpsFix& fix() const { return m_analyzer.fix(); }

 private:
  NmeaToJson m_analyzer;
  std::string m_pending;  // the start of a line whose LF has not come yet
};

}  // namespace d7o::cli
