#pragma once

#include <span>
#include <string>
#include <vector>

#include "RgbImage.h"
#include "SketchLayout.h"

struct PixelAt {
  int x = 0;
  int y = 0;
};

// The client area as it must look with nothing but the picture on black: the
// picture's top-left corner at (8, 8), cut at 321 x 321.
RgbImage ClientWithPicture(const RgbImage& picture);

// Pixels of the area where the two images differ by more than the tolerance
// in some channel, leaving out the skipped areas.
std::vector<PixelAt> Differences(const RgbImage& shown, const RgbImage& expected, Area area,
                                 std::span<const Area> skipped = {}, int tolerance = 0);

// "n pixels differ, first at (x, y): shown ... expected ..." for a failure.
std::string Describe(const std::vector<PixelAt>& differences, const RgbImage& shown, const RgbImage& expected);

// How far to the right of `left` the pixels that differ reach in the area
// (0 when none differ).
int ExtentFrom(int left, const std::vector<PixelAt>& differences);
