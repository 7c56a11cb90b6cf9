#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/TCanvas.h"
#include "platform/TLabel.h"
#include "tests/platform/HeadlessGui.h"

namespace {

using headless::AllPixels;
using headless::AnyPixel;
using headless::PixelAt;

constexpr TColor kRed{255, 0, 0};
constexpr TColor kGreen{0, 255, 0};
constexpr TColor kUntouched{255, 0, 255};
constexpr char kSquare[] = "■";

struct SurfaceDeleter {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// A surface of the form's size, filled with a colour that no paint uses.
Surface UntouchedSurface() {
  Surface surface(SDL_CreateRGBSurfaceWithFormat(0, headless::TTestForm::kClientSize.Width,
                                                 headless::TTestForm::kClientSize.Height, 32,
                                                 SDL_PIXELFORMAT_RGB888));
  SDL_FillRect(surface.get(), nullptr, SDL_MapRGB(surface->format, kUntouched.R, kUntouched.G, kUntouched.B));
  return surface;
}

class FormPaint : public headless::ApplicationTest {
 protected:
  // Red lies below green; they overlap from (40, 40) to (60, 60).
  void AddOverlappingBlocks(headless::TTestForm& form) {
    form.AddBlock("Red", {10, 10, 60, 60}, kRed);
    form.AddBlock("Green", {40, 40, 90, 90}, kGreen);
  }

  SDL_Surface* WindowSurface() { return SDL_GetWindowSurface(form_->Window()); }
};

TEST_F(FormPaint, BlackFirstThenEachControlInCreationOrderClippedToItsRectangle) {
  headless::TTestForm form(*Application);
  AddOverlappingBlocks(form);
  form.AddBlock("Hidden", {0, 0, 200, 120}, clWhite).SetVisible(false);
  Surface surface = UntouchedSurface();
  TCanvas canvas(surface.get());

  form.PaintRect(canvas, {0, 0, 200, 120});

  EXPECT_EQ(PixelAt(surface.get(), 20, 20), kRed);
  EXPECT_EQ(PixelAt(surface.get(), 50, 50), kGreen);  // the later control covers the earlier
  EXPECT_EQ(PixelAt(surface.get(), 80, 80), kGreen);
  // Each block fills all it is given; only its own rectangle shows it.
  EXPECT_TRUE(AllPixels(surface.get(), {0, 0, 200, 10}, clBlack));
  EXPECT_TRUE(AllPixels(surface.get(), {90, 0, 200, 120}, clBlack));
  EXPECT_TRUE(AllPixels(surface.get(), {10, 60, 40, 120}, clBlack));
  EXPECT_FALSE(AnyPixel(surface.get(), {0, 0, 200, 120}, clWhite));
}

TEST_F(FormPaint, NothingOutsideThePaintedRectangleChanges) {
  headless::TTestForm form(*Application);
  AddOverlappingBlocks(form);
  Surface surface = UntouchedSurface();
  TCanvas canvas(surface.get());
  const TRect painted{30, 35, 50, 55};

  form.PaintRect(canvas, painted);

  EXPECT_TRUE(AllPixels(surface.get(), {30, 35, 40, 40}, kRed));
  EXPECT_TRUE(AllPixels(surface.get(), {40, 40, 50, 55}, kGreen));
  for (int y = 0; y < surface->h; ++y) {
    for (int x = 0; x < surface->w; ++x) {
      if (!painted.Contains({x, y})) {
        ASSERT_EQ(PixelAt(surface.get(), x, y), kUntouched) << x << "," << y;
      }
    }
  }
}

// Labels draw only their glyphs: a later label's glyphs cover an earlier
// one's, and between them the earlier label shows.
TEST_F(FormPaint, ALaterLabelsGlyphsCoverAnEarlierOnes) {
  headless::TTestForm form(*Application);
  TLabel& lower = form.AddLabel("Lower", {20, 20}, kSquare, 30, clBlue);
  TLabel& upper = form.AddLabel("Upper", {20, 20}, " ", 30, clWhite);
  Surface surface = UntouchedSurface();
  TCanvas canvas(surface.get());
  form.PaintRect(canvas, {0, 0, 200, 120});
  std::vector<TPoint> covered;
  for (int y = lower.Top(); y < lower.BoundsRect().Bottom; ++y) {
    for (int x = lower.Left(); x < lower.BoundsRect().Right; ++x) {
      if (PixelAt(surface.get(), x, y) == clBlue) covered.push_back({x, y});
    }
  }
  ASSERT_GT(covered.size(), 100u) << "the square shows through the blank upper label";

  upper.SetCaption(kSquare);
  form.PaintRect(canvas, {0, 0, 200, 120});

  for (TPoint p : covered) ASSERT_EQ(PixelAt(surface.get(), p.X, p.Y), clWhite) << p.X << "," << p.Y;
}

TEST_F(FormPaint, AShorterCaptionLeavesNoStalePixels) {
  TLabel& label = ShowTestForm().AddLabel("Talk", {10, 10}, "■■■■■■", 20, clWhite);
  Application->ProcessMessages();
  const TRect longer = label.BoundsRect();
  ASSERT_TRUE(AnyPixel(WindowSurface(), {longer.Left + longer.Width() / 2, longer.Top, longer.Right, longer.Bottom},
                       clWhite));

  label.SetCaption(kSquare);
  Application->ProcessMessages();

  const TRect shorter = label.BoundsRect();
  ASSERT_LT(shorter.Right, longer.Right);
  EXPECT_TRUE(AllPixels(WindowSurface(), {shorter.Right, longer.Top, longer.Right, longer.Bottom}, clBlack));
  EXPECT_TRUE(AnyPixel(WindowSurface(), shorter, clWhite));
}

TEST_F(FormPaint, ALongerCaptionIsDrawnInFull) {
  TLabel& label = ShowTestForm().AddLabel("Talk", {10, 10}, kSquare, 20, clWhite);
  Application->ProcessMessages();
  const TRect shorter = label.BoundsRect();

  label.SetCaption("■■■■■■");
  Application->ProcessMessages();

  EXPECT_TRUE(AnyPixel(WindowSurface(), {shorter.Right, shorter.Top, label.BoundsRect().Right, shorter.Bottom},
                       clWhite));
}

TEST_F(FormPaint, ALabelThatDoesNotChangeAsksForNoRepaint) {
  TLabel& label = ShowTestForm().AddLabel("First", {10, 10}, kSquare, 12, clWhite);
  label.SetColor(clSilver);
  Application->ProcessMessages();
  ASSERT_FALSE(form_->NeedsPaint());

  label.SetCaption(kSquare);
  label.Font().SetColor(clWhite);
  label.SetColor(clSilver);
  EXPECT_FALSE(form_->NeedsPaint());

  const TRect bounds = label.BoundsRect();
  label.Font().SetColor(clNavy);
  EXPECT_TRUE(form_->NeedsPaint());
  EXPECT_EQ(label.BoundsRect(), bounds);  // a colour keeps the size
  Application->ProcessMessages();
  EXPECT_TRUE(AnyPixel(WindowSurface(), bounds, clNavy));

  label.SetCaption("*");
  EXPECT_TRUE(form_->NeedsPaint());
}

}  // namespace
