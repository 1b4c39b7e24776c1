#include "gps/nmea_fields.h"

#include "app/text.h"

#include <array>
#include <charconv>

namespace d7o::gps::nmea {

CommaTable::CommaTable(std::string_view text) : m_text(text) {
  for (std::size_t i = 0; i < text.size() && m_commas.size() < kMaxEntries; ++i) {
    if (text[i] == ',') m_commas.push_back(i + 1);
  }
}

std::optional<std::size_t> CommaTable::comma(std::size_t i) const {
  if (i >= m_commas.size()) return std::nullopt;
  return m_commas[i];
}

std::optional<std::string> CommaTable::field(std::size_t k) const {
  if (k == 0 || k >= m_commas.size()) return std::nullopt;
  // The 1-based position of comma k-1 is the 0-based index of the field's first character.
  const std::size_t begin = m_commas[k - 1];
  return std::string(m_text.substr(begin, m_commas[k] - begin - 1));
}

std::optional<std::size_t> position(std::string_view text, std::string_view what) {
  const auto at = text.find(what);
  if (at == std::string_view::npos) return std::nullopt;
  return at + 1;
}

std::string generalText(double value) {
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::general, 15);
  return std::string(buffer.data(), result.ptr);
}

std::string splitInPairs(std::string_view six, char separator) {
  return app::mid(six, 1, 2) + separator + app::mid(six, 3, 2) + separator + app::mid(six, 5, 2);
}

}  // namespace d7o::gps::nmea
