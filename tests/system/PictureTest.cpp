// The picture on screen, pixel for pixel against libjpeg's own djpeg decoding
// the same file, with the black margin around it and the title line over it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ImageChecks.h"
#include "JpegTools.h"
#include "SketchFolder.h"
#include "SketchLayout.h"
#include "SketchSession.h"
#include "TestPattern.h"
#include "Waiting.h"

namespace {

constexpr milliseconds kPaintTimeout(5000);

struct PictureCase {
  std::string name;
  int width;
  int height;
  std::vector<std::string> cjpegOptions;
  // What djpeg needs to decode as the program must: the floating-point
  // inverse DCT, block smoothing (djpeg's default) and, for greyscale, 236
  // colours with the codec's default dithering.
  std::vector<std::string> djpegOptions;
};

void PrintTo(const PictureCase& c, std::ostream* out) { *out << c.name; }

const PictureCase kPictures[] = {
    // Larger than the area: only its top-left 321 x 321 pixels show.
    {"BaselineColour", 400, 380, {"-quality", "85"}, {"-dct", "float"}},
    {"ProgressiveColour", 360, 350, {"-quality", "80", "-progressive"}, {"-dct", "float"}},
    {"Greyscale", 340, 330, {"-quality", "85", "-grayscale"}, {"-dct", "float", "-colors", "236"}},
    // Smaller than the area: black to its right and below it.
    {"SmallWithBlackAround", 200, 150, {"-quality", "90"}, {"-dct", "float"}},
};

class PictureTest : public testing::TestWithParam<PictureCase> {};

TEST_P(PictureTest, ShowsTheDecodedPictureInItsArea) {
  const PictureCase& picture = GetParam();
  SketchFolder folder;
  folder.WritePicture(MakeTestPattern(picture.width, picture.height), picture.cjpegOptions);
  RgbImage expected = ClientWithPicture(DecodeJpeg(folder.PicturePath(), picture.djpegOptions));
  SketchSession sketch(folder);
  ASSERT_TRUE(sketch.WaitForMainWindow());

  // Everything but the labels: the picture, cut at 321 x 321, on black.
  const Area wholeClient{0, 0, kClientSize, kClientSize};
  RgbImage shown;
  std::vector<PixelAt> differences;
  WaitUntil(
      [&] {
        shown = sketch.CaptureClient();
        differences = Differences(shown, expected, wholeClient, kLabelAreas);
        return differences.empty();
      },
      kPaintTimeout);
  EXPECT_TRUE(differences.empty()) << Describe(differences, shown, expected);

  // The title line is drawn over the picture in blue: wherever it changes a
  // pixel, it takes red and green away and adds blue.
  std::vector<PixelAt> title = Differences(shown, expected, kTitleArea);
  ASSERT_FALSE(title.empty()) << "no title line";
  bool overPicture = false;
  for (const PixelAt& p : title) {
    Rgb s = shown.At(p.x, p.y);
    Rgb e = expected.At(p.x, p.y);
    EXPECT_TRUE(s.r <= e.r && s.g <= e.g && s.b >= e.b)
        << "title pixel at (" << p.x << ", " << p.y << ") is " << s << " over " << e;
    overPicture = overPicture || kPictureArea.Contains(p.x, p.y);
  }
  EXPECT_TRUE(overPicture) << "the title line does not reach over the picture's top rows";
}

INSTANTIATE_TEST_SUITE_P(Pictures, PictureTest, testing::ValuesIn(kPictures),
                         [](const testing::TestParamInfo<PictureCase>& info) { return info.param.name; });

}  // namespace
