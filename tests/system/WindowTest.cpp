// The one window as the X server sees it: place, size, class, names and the
// size hints that keep it from being resized, at two screen resolutions.

#include <gtest/gtest.h>

#include "SketchFolder.h"
#include "SketchLayout.h"
#include "SketchSession.h"
#include "TestPattern.h"

namespace {

struct ResolutionCase {
  int dotsPerInch;
  int clientSize;
};

// At 120 dpi the form's font grows to 15 pixels and "0" with it, so the
// client area becomes 337 x 15 / 12; the place on the screen never scales.
void PrintTo(const ResolutionCase& c, std::ostream* out) { *out << c.dotsPerInch << " dpi"; }

const ResolutionCase kResolutions[] = {{96, 337}, {120, 421}};

class WindowTest : public testing::TestWithParam<ResolutionCase> {};

TEST_P(WindowTest, OpensFixedAtItsPlaceWithClassAndNoTitle) {
  SketchFolder folder;
  folder.WritePicture(MakeTestPattern(321, 321), {});
  SketchSession::Options options;
  options.dotsPerInch = GetParam().dotsPerInch;
  SketchSession sketch(folder, options);

  std::optional<XClient::WindowInfo> window = sketch.WaitForMainWindow();
  ASSERT_TRUE(window) << "no TForm1 window appeared at (241, 145)";
  EXPECT_EQ(window->x, kWindowLeft);
  EXPECT_EQ(window->y, kWindowTop);
  EXPECT_EQ(window->width, GetParam().clientSize);
  EXPECT_EQ(window->height, GetParam().clientSize);
  EXPECT_EQ(window->className, "TForm1");
  EXPECT_EQ(window->name, "");
  EXPECT_EQ(window->iconName, "sketch");
  // Not resizable: the smallest and the largest size are the size itself.
  EXPECT_EQ(window->minWidth, GetParam().clientSize);
  EXPECT_EQ(window->minHeight, GetParam().clientSize);
  EXPECT_EQ(window->maxWidth, GetParam().clientSize);
  EXPECT_EQ(window->maxHeight, GetParam().clientSize);
  EXPECT_FALSE(sketch.MessageBox()) << "a message box came up with a sound picture";
}

INSTANTIATE_TEST_SUITE_P(Resolutions, WindowTest, testing::ValuesIn(kResolutions),
                         [](const testing::TestParamInfo<ResolutionCase>& info) {
                           return "Dpi" + std::to_string(info.param.dotsPerInch);
                         });

}  // namespace
