#include <gtest/gtest.h>

#include "platform/Geometry.h"
#include "platform/TCustomForm.h"
#include "platform/TFont.h"
#include "platform/TImage.h"
#include "platform/TLabel.h"
#include "platform/TextPainter.h"
#include "tests/platform/HeadlessGui.h"

namespace {

struct MulDivCase {
  int a, b, c;
  int expected;
};

class MulDivRounding : public testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivRounding, RoundsToTheNearestWithHalvesAwayFromZero) {
  const MulDivCase& c = GetParam();
  EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Products, MulDivRounding,
    testing::Values(MulDivCase{10, 1, 4, 3}, MulDivCase{-10, 1, 4, -3}, MulDivCase{10, -1, 4, -3},
                    MulDivCase{10, 1, -4, -3}, MulDivCase{-10, -1, 4, 3}, MulDivCase{-10, 1, -4, 3},
                    MulDivCase{7, 1, 4, 2}, MulDivCase{5, 1, 4, 1}, MulDivCase{-5, 1, 4, -1},
                    MulDivCase{-7, 1, 4, -2}, MulDivCase{0, 5, 7, 0}, MulDivCase{337, 15, 12, 421},
                    MulDivCase{-12, 120, 96, -15}, MulDivCase{242, 15, 12, 303},
                    // The product does not overflow 32 bits on the way.
                    MulDivCase{1 << 30, 6, 8, 805306368}));

struct FontScaleCase {
  int height, numerator, denominator, pixelsPerInch;
  int scaled;
};

class FontScaling : public testing::TestWithParam<FontScaleCase> {};

TEST_P(FontScaling, GoesThroughWholePoints) {
  const FontScaleCase& c = GetParam();
  TFont font;
  font.SetHeight(c.height);
  font.ScaleBy(c.numerator, c.denominator, c.pixelsPerInch);
  EXPECT_EQ(font.Height(), c.scaled);
}

// At 120 pixels per inch the form's font of -15 measures "0" 15 high: every
// label is scaled by 15/12.
INSTANTIATE_TEST_SUITE_P(
    Heights, FontScaling,
    testing::Values(FontScaleCase{-15, 15, 12, 120, -18}, FontScaleCase{-12, 15, 12, 120, -15},
                    FontScaleCase{-3, 15, 12, 120, -5}, FontScaleCase{-12, 12, 12, 96, -12},
                    FontScaleCase{-10, 12, 10, 96, -13},
                    // 10.5 points round up to 11, which is 15 pixels again.
                    FontScaleCase{-14, 12, 12, 96, -15}));

struct BoundsScaleCase {
  TRect bounds;
  int numerator, denominator;
  TRect scaled;
};

class ControlScaling : public testing::TestWithParam<BoundsScaleCase> {};

// The right and bottom edges are scaled, not the width and height, so
// neighbouring controls stay neighbours.
TEST_P(ControlScaling, ScalesTheEdges) {
  const BoundsScaleCase& c = GetParam();
  TCustomForm form("Form");
  TImage& image = form.AddControl<TImage>("Image1");
  image.SetBounds(c.bounds.Left, c.bounds.Top, c.bounds.Width(), c.bounds.Height());
  image.ScaleBy(c.numerator, c.denominator, 120);
  EXPECT_EQ(image.BoundsRect(), c.scaled);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, ControlScaling,
    testing::Values(BoundsScaleCase{{8, 8, 329, 329}, 15, 12, {10, 10, 411, 411}},
                    BoundsScaleCase{{136, 304, 203, 316}, 15, 12, {170, 380, 254, 395}},
                    BoundsScaleCase{{32, 64, 37, 79}, 15, 12, {40, 80, 46, 99}},
                    BoundsScaleCase{{217, 168, 344, 171}, 15, 12, {271, 210, 430, 214}},
                    BoundsScaleCase{{104, 0, 242, 12}, 15, 12, {130, 0, 303, 15}},
                    BoundsScaleCase{{-5, -5, 5, 5}, 15, 12, {-6, -6, 6, 6}},
                    BoundsScaleCase{{2, 2, 4, 4}, 5, 4, {3, 3, 5, 5}}));

TEST(ControlScaling, ALabelScalesItsFontWithItsBounds) {
  TCustomForm form("Form");
  TLabel& label = form.AddControl<TLabel>("LabelTalk");
  label.SetBounds(32, 64, 5, 15);
  label.Font().SetHeight(-15);
  label.ScaleBy(15, 12, 120);
  EXPECT_EQ(label.BoundsRect(), (TRect{40, 80, 46, 99}));
  EXPECT_EQ(label.Font().Height(), -18);
}

// A form built for a font whose "0" was `storedTextHeight` pixels high, with
// the layout's client area, picture and talk label.
class TScalingForm : public TForm {
 public:
  TScalingForm(TApplication& application, int storedTextHeight) : TForm(application, "ScalingForm") {
    SetClientHeight(337);
    SetClientWidth(337);
    Font().SetCharset(SHIFTJIS_CHARSET);
    Font().SetHeight(-12);
    SetPixelsPerInch(96);
    SetTextHeight(storedTextHeight);
    image = &AddControl<TImage>("Image1");
    image->SetBounds(8, 8, 321, 321);
    label = &AddControl<TLabel>("LabelTalk");
    label->SetBounds(32, 64, 5, 15);
    label->Font().SetCharset(SHIFTJIS_CHARSET);
    label->Font().SetHeight(-15);
    label->SetTransparent(true);
    Loaded();
  }

  TImage* image;
  TLabel* label;
};

class FormScaling : public headless::ApplicationTest {};

TEST_F(FormScaling, AFontThatMeasuresAsStoredLeavesTheLayoutAlone) {
  TScalingForm form(*Application, 12);
  EXPECT_EQ(form.ClientSize(), (TSize{337, 337}));
  EXPECT_EQ(form.image->BoundsRect(), (TRect{8, 8, 329, 329}));
  EXPECT_EQ(form.label->Font().Height(), -15);
}

// The screen here is 96 pixels per inch and "0" of a -12 font measures 12, so
// a layout stored for a "0" of 10 is scaled by 12/10.
TEST_F(FormScaling, AnotherHeightOfZeroScalesEverythingThenTheLabelsFitTheirText) {
  TFont formFont;
  formFont.SetCharset(SHIFTJIS_CHARSET);
  formFont.SetHeight(-12);
  ASSERT_EQ(TextHeight(formFont, "0"), 12);
  TScalingForm form(*Application, 10);
  EXPECT_EQ(form.ClientSize(), (TSize{404, 404}));
  EXPECT_EQ(form.image->BoundsRect(), (TRect{10, 10, 395, 395}));
  // 15 pixels are 11 points at 96 per inch, 13 points scaled, 17 pixels again.
  EXPECT_EQ(form.label->Font().Height(), -17);
  EXPECT_EQ(form.label->Left(), 38);
  EXPECT_EQ(form.label->Top(), 77);
  TSize space = MeasureLabelText(form.label->Font(), " ");
  EXPECT_EQ(form.label->Width(), space.Width);
  EXPECT_EQ(form.label->Height(), space.Height);
}

}  // namespace
