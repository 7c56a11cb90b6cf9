#include "AppIcon.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

// "MAINICON": one 16 x 16 two-colour image as an icon resource holds it: a
// bitmap header (height 32: colour bitmap and mask together), a black-and-white
// palette, an all-zero colour bitmap and a mask whose every row is FF FF 00 00,
// so every pixel is transparent.
constexpr std::array<std::uint8_t, 176> kMainIcon = [] {
  std::array<std::uint8_t, 176> data{};
  const std::uint8_t header[40] = {40, 0, 0, 0, 16, 0, 0, 0, 32, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 128};
  for (int i = 0; i < 40; ++i) data[i] = header[i];
  const std::uint8_t palette[8] = {0, 0, 0, 0, 255, 255, 255, 0};
  for (int i = 0; i < 8; ++i) data[40 + i] = palette[i];
  for (int row = 0; row < 16; ++row) {
    data[112 + row * 4] = 0xFF;
    data[113 + row * 4] = 0xFF;
  }
  return data;
}();

constexpr int kSize = 16;
constexpr int kRowBytes = 4;  // 16 one-bit pixels padded to 32 bits
constexpr int kPaletteOffset = 40;
constexpr int kColourOffset = kPaletteOffset + 8;
constexpr int kMaskOffset = kColourOffset + kSize * kRowBytes;

bool BitAt(int offset, int x, int y) {
  // Bitmap rows are stored bottom-up.
  std::uint8_t byte = kMainIcon[offset + (kSize - 1 - y) * kRowBytes + x / 8];
  return (byte >> (7 - x % 8)) & 1;
}

}  // namespace

void SetApplicationIcon(SDL_Window* window) {
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, kSize, kSize, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!icon) return;
  for (int y = 0; y < kSize; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(icon->pixels) + y * icon->pitch);
    for (int x = 0; x < kSize; ++x) {
      const std::uint8_t* rgbx = &kMainIcon[kPaletteOffset + 4 * BitAt(kColourOffset, x, y)];
      std::uint32_t alpha = BitAt(kMaskOffset, x, y) ? 0 : 0xFF;
      // Palette entries are blue, green, red.
      row[x] = (alpha << 24) | (std::uint32_t{rgbx[2]} << 16) | (std::uint32_t{rgbx[1]} << 8) | rgbx[0];
    }
  }
  SDL_SetWindowIcon(window, icon);
  SDL_FreeSurface(icon);
}
