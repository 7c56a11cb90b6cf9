#include "PaintedSketch.h"

#include <cstdlib>

#include "JpegTools.h"
#include "SketchLayout.h"
#include "TestPattern.h"
#include "Waiting.h"

namespace {

constexpr milliseconds kPaintTimeout(5000);

int Contrast(Rgb a, Rgb b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

}  // namespace

PaintedSketch::PaintedSketch(const std::vector<std::string>& environment) {
  folder_.WritePicture(MakeTestPattern(kPictureArea.width, kPictureArea.height), {});
  expected_ = ClientWithPicture(DecodeJpeg(folder_.PicturePath(), {"-dct", "float"}));
  SketchSession::Options options;
  options.environment = environment;
  session_ = std::make_unique<SketchSession>(folder_, options);
  if (!session_->WaitForMainWindow()) {
    problem_ = "the window did not come up";
    return;
  }
  ready_ = WaitUntil(
      [&] { return Differences(session_->CaptureClient(), expected_, {0, 0, kClientSize, kClientSize}, kLabelAreas).empty(); },
      kPaintTimeout);
  if (!ready_) problem_ = "the window does not show the picture";
}

std::vector<PixelAt> PaintedSketch::Ink(Area area, int tolerance) {
  return Differences(session_->CaptureClient(), expected_, area, {}, tolerance);
}

std::optional<Rgb> PaintedSketch::StrongestInk(Area area) {
  RgbImage shown = session_->CaptureClient();
  std::optional<Rgb> strongest;
  int best = 0;
  for (const PixelAt& p : Differences(shown, expected_, area, {}, 40)) {
    int contrast = Contrast(shown.At(p.x, p.y), expected_.At(p.x, p.y));
    if (contrast > best) {
      best = contrast;
      strongest = shown.At(p.x, p.y);
    }
  }
  return strongest;
}
