#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ostream>
#include <string>

#include "platform/FontCache.h"
#include "platform/FontResolver.h"
#include "platform/TCanvas.h"
#include "platform/TFont.h"
#include "platform/TextPainter.h"

namespace {

constexpr char kTitle[] = "：：：；：：：；：：：：：ｉｉ：：：：：：：：：";
constexpr char kStars[] = "* * * * * *";
constexpr char kTalk[] = "あっちは温度がひくいよ\r\n\r\n\r\nそんな薄着じゃさ";
constexpr char kTimeText[] = "0.123456789012345678";

TFont LabelFont(int pixels, TFontStyle style = TFontStyle::Regular, TColor color = clWhite) {
  TFont font;
  font.SetCharset(SHIFTJIS_CHARSET);
  font.SetHeight(-pixels);
  font.SetStyle(style);
  font.SetColor(color);
  return font;
}

int LineWidth(const TFont& font, std::string_view line) {
  return line.empty() ? 0 : MeasureLabelText(font, line).Width;
}

// ---- Label fitting ----

TEST(LabelFitting, TheTitleLineFitsAsOnTheOriginalScreen) {
  TFont font = LabelFont(12, TFontStyle::Regular, clBlue);
  EXPECT_EQ(MeasureLabelText(font, kTitle), (TSize{138, 12}));
  // The scaling rule then leaves the layout alone.
  EXPECT_EQ(TextHeight(font, "0"), 12);
}

TEST(LabelFitting, AnEmptyCaptionMeasuresAsOneSpaceOnOneLine) {
  for (int pixels : {3, 12, 15}) {
    SCOPED_TRACE(pixels);
    TFont font = LabelFont(pixels);
    TSize empty = MeasureLabelText(font, "");
    EXPECT_EQ(empty, MeasureLabelText(font, " "));
    EXPECT_GT(empty.Width, 0);
    EXPECT_EQ(empty.Height, TextHeight(font, "0"));
  }
}

TEST(LabelFitting, TheStartLabelIsOneLineOfItsBoldFont) {
  TSize bold = MeasureLabelText(LabelFont(12, TFontStyle::Bold), kStars);
  TSize regular = MeasureLabelText(LabelFont(12), kStars);
  EXPECT_EQ(bold.Height, 12);
  EXPECT_GE(bold.Width, regular.Width);
  EXPECT_GT(regular.Width, 0);
}

TEST(LabelFitting, TheTimeTextIsATinyStreak) {
  TSize size = MeasureLabelText(LabelFont(3), kTimeText);
  EXPECT_EQ(size.Height, 3);
  EXPECT_GT(size.Width, 0);
  EXPECT_LT(size.Width, 3 * 20);
}

struct LineCase {
  const char* Name;
  const char* Caption;
  int Lines;
  const char* WidestLine;
};

void PrintTo(const LineCase& c, std::ostream* out) { *out << c.Name; }

class LineBreaks : public testing::TestWithParam<LineCase> {};

TEST_P(LineBreaks, EachLineAddsALineHeightAndTheWidestLineSetsTheWidth) {
  const LineCase& c = GetParam();
  TFont font = LabelFont(15);
  EXPECT_EQ(MeasureLabelText(font, c.Caption),
            (TSize{LineWidth(font, c.WidestLine), c.Lines * TextHeight(font, "0")}));
}

INSTANTIATE_TEST_SUITE_P(
    LabelFitting, LineBreaks,
    testing::Values(LineCase{"talk", kTalk, 4, "あっちは温度がひくいよ"},
                    LineCase{"leading break", "\r\nそんな薄着じゃさ", 2, "そんな薄着じゃさ"},
                    LineCase{"breaks only", "\r\n\r\n\r\n", 4, ""},
                    LineCase{"trailing break", "A\r\n", 2, "A"},
                    LineCase{"lone CR", "A\rB", 2, "A"}, LineCase{"lone LF", "A\nB", 2, "A"},
                    LineCase{"LF CR", "A\n\rB", 3, "A"},
                    LineCase{"no break", "あい う", 1, "あい う"}));

struct SameSize {
  const char* Name;
  const char* Caption;
  const char* Shown;
};

void PrintTo(const SameSize& c, std::ostream* out) { *out << c.Name; }

class AcceleratorMarks : public testing::TestWithParam<SameSize> {};

TEST_P(AcceleratorMarks, AreTakenOutBeforeMeasuring) {
  TFont font = LabelFont(12);
  EXPECT_EQ(MeasureLabelText(font, GetParam().Caption), MeasureLabelText(font, GetParam().Shown));
}

INSTANTIATE_TEST_SUITE_P(LabelFitting, AcceleratorMarks,
                         testing::Values(SameSize{"mark first", "&A", "A"},
                                         SameSize{"mark last", "A&", "A"},
                                         SameSize{"mark before kana", "&あ", "あ"},
                                         SameSize{"mark between kana", "あ&い", "あい"},
                                         SameSize{"double then mark", "&&&A", "&&A"},
                                         SameSize{"double then trailing mark", "&&&", "&&"},
                                         SameSize{"mark then double", "&A&&", "A&&"}));

TEST(LabelFitting, ADoubledAmpersandShowsOneAmpersand) {
  TFont font = LabelFont(12);
  TTF_Font* face = FontCache::Shared().Get(
      FontResolver::System().Resolve(font.Name(), font.Charset()), 12, false);
  int one = 0;
  int two = 0;
  TTF_SizeUTF8(face, "&", &one, nullptr);
  TTF_SizeUTF8(face, "&&", &two, nullptr);
  EXPECT_EQ(MeasureLabelText(font, "&&").Width, one);
  EXPECT_EQ(MeasureLabelText(font, "&&&&").Width, two);
  EXPECT_EQ(MeasureLabelText(font, "& &&").Width, MeasureLabelText(font, " &&").Width);
}

TEST(LabelFitting, TabsAdvanceToFixedStops) {
  TFont font = LabelFont(12);
  int text = MeasureLabelText(font, "B").Width;
  int oneStop = MeasureLabelText(font, "\tB").Width - text;
  EXPECT_GT(oneStop, 0);
  EXPECT_EQ(MeasureLabelText(font, "A\tB").Width, oneStop + text);
  EXPECT_EQ(MeasureLabelText(font, "\t\tB").Width, 2 * oneStop + text);
}

// ---- Drawing ----

constexpr int kX = 10;
constexpr int kY = 10;

// A canvas over a varied background, so that any pixel a label paints over
// without need shows.
class Picture {
 public:
  Picture() : surface_(SDL_CreateRGBSurfaceWithFormat(0, 240, 80, 32, SDL_PIXELFORMAT_RGB888)) {
    for (int y = 0; y < surface_->h; ++y) {
      for (int x = 0; x < surface_->w; ++x) Set(x, y, Background(x, y));
    }
  }
  ~Picture() { SDL_FreeSurface(surface_); }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  static TColor Background(int x, int y) {
    return {static_cast<std::uint8_t>(40 + (x * 7) % 150),
            static_cast<std::uint8_t>(60 + (y * 13) % 150),
            static_cast<std::uint8_t>(30 + ((x + y) * 5) % 150)};
  }

  int Width() const { return surface_->w; }
  int Height() const { return surface_->h; }
  SDL_Surface* Surface() const { return surface_; }

  TColor At(int x, int y) const {
    Uint32 pixel = static_cast<const Uint32*>(surface_->pixels)[y * surface_->pitch / 4 + x];
    TColor color;
    SDL_GetRGB(pixel, surface_->format, &color.R, &color.G, &color.B);
    return color;
  }
  bool Changed(int x, int y) const { return !(At(x, y) == Background(x, y)); }

 private:
  void Set(int x, int y, TColor color) {
    static_cast<Uint32*>(surface_->pixels)[y * surface_->pitch / 4 + x] =
        SDL_MapRGB(surface_->format, color.R, color.G, color.B);
  }

  SDL_Surface* surface_;
};

void Draw(Picture& picture, const TFont& font, std::string_view caption, int x = kX, int y = kY) {
  TCanvas canvas(picture.Surface());
  DrawLabelText(canvas, x, y, font, caption);
}

// Whether the pixel lies between the background and the ink, as an
// anti-aliased glyph edge over the background does (give or take the blender's
// rounding).
bool IsBlendOf(TColor pixel, TColor background, TColor ink) {
  auto near = [](int value, int from, int to, double share) {
    return std::abs(value - (from + share * (to - from))) <= 3.0;
  };
  for (int step = 0; step <= 255; ++step) {
    double share = step / 255.0;
    if (near(pixel.R, background.R, ink.R, share) && near(pixel.G, background.G, ink.G, share) &&
        near(pixel.B, background.B, ink.B, share)) {
      return true;
    }
  }
  return false;
}

struct DrawCase {
  const char* Name;
  const char* Caption;
  int Pixels;
  TFontStyle Style;
  TColor Ink;
};

void PrintTo(const DrawCase& c, std::ostream* out) { *out << c.Name; }

class DrawnLabels : public testing::TestWithParam<DrawCase> {};

TEST_P(DrawnLabels, PaintOnlyGlyphsInTheirColourInsideTheFittedRectangle) {
  const DrawCase& c = GetParam();
  TFont font = LabelFont(c.Pixels, c.Style, c.Ink);
  TSize size = MeasureLabelText(font, c.Caption);
  TRect label = TRect::FromBounds(kX, kY, size.Width, size.Height);
  Picture picture;
  Draw(picture, font, c.Caption);
  int changed = 0;
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      if (!picture.Changed(x, y)) continue;
      ++changed;
      ASSERT_TRUE(label.Contains({x, y})) << "painted outside the label at " << x << "," << y;
      ASSERT_TRUE(IsBlendOf(picture.At(x, y), Picture::Background(x, y), c.Ink)) << x << "," << y;
    }
  }
  EXPECT_GT(changed, 0);
}

INSTANTIATE_TEST_SUITE_P(
    TextPainter, DrawnLabels,
    testing::Values(DrawCase{"title", kTitle, 12, TFontStyle::Regular, clBlue},
                    DrawCase{"start", kStars, 12, TFontStyle::Bold, clWhite},
                    DrawCase{"start highlighted", kStars, 12, TFontStyle::Bold, clNavy},
                    DrawCase{"talk", kTalk, 15, TFontStyle::Regular, clWhite},
                    DrawCase{"time", kTimeText, 3, TFontStyle::Regular, clWhite},
                    DrawCase{"mark and tab", "&A\tB", 12, TFontStyle::Regular, clWhite}));

TEST(TextPainter, FullyCoveredPixelsTakeTheFontColour) {
  for (TColor ink : {clWhite, clNavy, clBlue}) {
    Picture picture;
    Draw(picture, LabelFont(15, TFontStyle::Regular, ink), "温度");
    bool found = false;
    for (int y = 0; y < picture.Height() && !found; ++y) {
      for (int x = 0; x < picture.Width() && !found; ++x) found = picture.At(x, y) == ink;
    }
    EXPECT_TRUE(found);
  }
}

TEST(TextPainter, TheGapsBetweenTheStarsShowTheBackground) {
  TFont font = LabelFont(12, TFontStyle::Bold);
  Picture picture;
  Draw(picture, font, kStars);
  TSize size = MeasureLabelText(font, kStars);
  int untouchedColumns = 0;
  for (int x = kX; x < kX + size.Width; ++x) {
    bool untouched = true;
    for (int y = kY; y < kY + size.Height; ++y) untouched = untouched && !picture.Changed(x, y);
    if (untouched) ++untouchedColumns;
  }
  EXPECT_GE(untouchedColumns, 5);
}

TEST(TextPainter, BlankCaptionsDrawNothing) {
  for (const char* caption : {"", " ", "\r\n\r\n", "&", "\t"}) {
    SCOPED_TRACE(testing::PrintToString(caption));
    Picture picture;
    Draw(picture, LabelFont(15), caption);
    for (int y = 0; y < picture.Height(); ++y) {
      for (int x = 0; x < picture.Width(); ++x) ASSERT_FALSE(picture.Changed(x, y));
    }
  }
}

TEST(TextPainter, DrawsOnlyInsideTheClipRectangle) {
  TFont font = LabelFont(12, TFontStyle::Regular, clBlue);
  TRect clip{kX + 30, kY + 3, kX + 90, kY + 40};
  Picture whole;
  Draw(whole, font, kTitle);
  Picture clipped;
  TCanvas canvas(clipped.Surface());
  canvas.SetClipRect(clip);
  DrawLabelText(canvas, kX, kY, font, kTitle);
  for (int y = 0; y < clipped.Height(); ++y) {
    for (int x = 0; x < clipped.Width(); ++x) {
      if (clip.Contains({x, y})) {
        ASSERT_EQ(clipped.At(x, y), whole.At(x, y)) << x << "," << y;
      } else {
        ASSERT_FALSE(clipped.Changed(x, y)) << x << "," << y;
      }
    }
  }
}

TEST(TextPainter, EachLineStandsOneLineHeightBelowTheOneBefore) {
  TFont font = LabelFont(15);
  int lineHeight = TextHeight(font, "0");
  Picture together;
  Draw(together, font, "温\r\n\r\n度");
  Picture apart;
  Draw(apart, font, "温");
  Draw(apart, font, "度", kX, kY + 2 * lineHeight);
  for (int y = 0; y < together.Height(); ++y) {
    for (int x = 0; x < together.Width(); ++x) ASSERT_EQ(together.At(x, y), apart.At(x, y));
  }
}

TEST(TextPainter, TheMarkedCharacterIsUnderlinedBelowItsBaseline) {
  TFont font = LabelFont(12);
  TSize letter = MeasureLabelText(font, "A");
  Picture marked;
  Draw(marked, font, "&A");
  Picture plain;
  Draw(plain, font, "A");
  int differing = 0;
  for (int y = 0; y < marked.Height(); ++y) {
    for (int x = 0; x < marked.Width(); ++x) {
      if (marked.At(x, y) == plain.At(x, y)) continue;
      ++differing;
      EXPECT_GE(y, kY + letter.Height * 3 / 4);
      EXPECT_LT(y, kY + letter.Height);
      EXPECT_GE(x, kX);
      EXPECT_LT(x, kX + letter.Width);
    }
  }
  EXPECT_GE(differing, letter.Width / 2);
}

}  // namespace
