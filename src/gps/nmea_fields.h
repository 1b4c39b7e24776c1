#pragma once

// Reading NMEA text the way the analyzer does: by comma positions, 1-based like the fixed
// character positions it reads with app::mid (numbers by app::leadingNumber). Private to
// gps/.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace d7o::gps::nmea {

// The positions of the first commas of a sentence. Entry i is the 1-based position of the
// (i+1)-th comma. The analyzer keeps no more than 101, so fields past the hundredth do not
// exist even when their commas do.
class CommaTable {
 public:
  static constexpr std::size_t kMaxEntries = 101;

  explicit CommaTable(std::string_view text);

  // Field k (k >= 1): the text strictly between comma k-1 and comma k; none when either
  // comma is missing, which skips the step that reads it.
  std::optional<std::string> field(std::size_t k) const;
  // 1-based position of comma i (i = 0 is the comma after the name); none when missing.
  std::optional<std::size_t> comma(std::size_t i) const;
  std::size_t count() const { return m_commas.size(); }

 private:
  std::string_view m_text;
  std::vector<std::size_t> m_commas;
};

// 1-based position of the first `what` in `text`, or none.
std::optional<std::size_t> position(std::string_view text, std::string_view what);

// Shortest general decimal text with up to 15 significant digits, '.' as separator
// whatever the locale: 41.4848, 84.4, 0, 11.5166666666667.
std::string generalText(double value);

// "hhmmss" -> "hh<sep>mm<sep>ss" from characters 1-2, 3-4 and 5-6, taking what is there.
std::string splitInPairs(std::string_view six, char separator);

}  // namespace d7o::gps::nmea
