#pragma once

#include <cstdint>

namespace d7o::forms {

// 24-bit colour numbers in blue-green-red order, as the program has always written them
// (255 is red). Numbers with the top bit set name a system colour by its role.
using Color = std::uint32_t;

namespace colors {
inline constexpr Color kRed = 255;
inline constexpr Color kGreen = 65280;
inline constexpr Color kYellow = 65535;
inline constexpr Color kLightRed = 12632319;
inline constexpr Color kLightOrange = 12640511;
inline constexpr Color kCyan = 16776960;
inline constexpr Color kMagenta = 16711935;
inline constexpr Color kBlue = 16711680;
inline constexpr Color kBlack = 0;
inline constexpr Color kWhite = 16777215;

inline constexpr Color kSystemFlag = 0x80000000u;
inline constexpr Color kSystemMenu = 0x80000004u;
inline constexpr Color kSystemWindow = 0x80000005u;
inline constexpr Color kSystemWindowText = 0x80000008u;
inline constexpr Color kSystemInactiveBorder = 0x8000000Bu;
inline constexpr Color kSystemButtonFace = 0x8000000Fu;
inline constexpr Color kSystemButtonText = 0x80000012u;
}  // namespace colors

inline constexpr bool isSystemColor(Color c) {
  return (c & colors::kSystemFlag) != 0;
}
inline constexpr int redOf(Color c) {
  return static_cast<int>(c & 0xFF);
}
inline constexpr int greenOf(Color c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
inline constexpr int blueOf(Color c) {
  return static_cast<int>((c >> 16) & 0xFF);
}

}  // namespace d7o::forms
