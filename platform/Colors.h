#pragma once

#include <cstdint>

struct TColor {
  std::uint8_t R = 0;
  std::uint8_t G = 0;
  std::uint8_t B = 0;
  friend bool operator==(const TColor&, const TColor&) = default;
};

inline constexpr TColor clBlack{0, 0, 0};
inline constexpr TColor clWhite{255, 255, 255};
inline constexpr TColor clBlue{0, 0, 255};
inline constexpr TColor clSilver{192, 192, 192};
inline constexpr TColor clNavy{0, 0, 128};
inline constexpr TColor clBtnFace{240, 240, 240};
