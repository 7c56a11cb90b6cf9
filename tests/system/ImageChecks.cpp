#include "ImageChecks.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace {

bool Differ(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) > tolerance || std::abs(a.g - b.g) > tolerance || std::abs(a.b - b.b) > tolerance;
}

}  // namespace

RgbImage ClientWithPicture(const RgbImage& picture) {
  RgbImage area(kPictureArea.width, kPictureArea.height);
  area.Paste(picture, 0, 0);
  RgbImage client(kClientSize, kClientSize);
  client.Paste(area, kPictureArea.x, kPictureArea.y);
  return client;
}

std::vector<PixelAt> Differences(const RgbImage& shown, const RgbImage& expected, Area area,
                                 std::span<const Area> skipped, int tolerance) {
  std::vector<PixelAt> differences;
  for (int y = area.y; y < area.y + area.height; ++y) {
    for (int x = area.x; x < area.x + area.width; ++x) {
      bool skip = std::any_of(skipped.begin(), skipped.end(), [&](const Area& s) { return s.Contains(x, y); });
      if (!skip && Differ(shown.At(x, y), expected.At(x, y), tolerance)) differences.push_back({x, y});
    }
  }
  return differences;
}

std::string Describe(const std::vector<PixelAt>& differences, const RgbImage& shown, const RgbImage& expected) {
  std::ostringstream text;
  text << differences.size() << " pixels differ";
  if (!differences.empty()) {
    const PixelAt& first = differences.front();
    text << ", first at (" << first.x << ", " << first.y << "): shown " << shown.At(first.x, first.y)
         << ", expected " << expected.At(first.x, first.y);
  }
  return text.str();
}

int ExtentFrom(int left, const std::vector<PixelAt>& differences) {
  int right = left - 1;
  for (const PixelAt& pixel : differences) right = std::max(right, pixel.x);
  return right - left + 1;
}
