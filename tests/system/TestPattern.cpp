#include "TestPattern.h"

#include <cstdint>

namespace {

// Small deterministic grain in -8..7.
int Grain(int x, int y) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return static_cast<int>(h % 16) - 8;
}

std::uint8_t Channel(int base, int span, int position, int length, int grain) {
  return static_cast<std::uint8_t>(base + span * position / (length > 1 ? length - 1 : 1) + grain);
}

}  // namespace

RgbImage MakeTestPattern(int width, int height) {
  RgbImage image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      int grain = Grain(x, y);
      image.Set(x, y,
                {Channel(70, 110, x, width, grain), Channel(70, 110, y, height, -grain),
                 Channel(90, 70, x + y, width + height, grain / 2)});
    }
  }
  return image;
}
