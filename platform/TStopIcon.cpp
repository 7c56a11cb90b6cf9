#include "TStopIcon.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "TCanvas.h"

namespace {

// Coverage of a pixel by a shape whose signed distance (negative inside) is d.
float Coverage(float d) { return std::clamp(0.5f - d, 0.0f, 1.0f); }

float DistanceToSegment(float px, float py, float ax, float ay, float bx, float by) {
  float vx = bx - ax;
  float vy = by - ay;
  float t = std::clamp(((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy), 0.0f, 1.0f);
  return std::hypot(px - ax - t * vx, py - ay - t * vy);
}

std::uint32_t StopPixel(int x, int y) {
  constexpr float kCentre = TStopIcon::kSize / 2.0f;
  constexpr float kRadius = kCentre - 1.0f;
  constexpr float kArm = 7.0f;
  constexpr float kHalfStroke = 1.6f;
  float px = x + 0.5f;
  float py = y + 0.5f;
  float disc = Coverage(std::hypot(px - kCentre, py - kCentre) - kRadius);
  float cross = std::max(
      Coverage(DistanceToSegment(px, py, kCentre - kArm, kCentre - kArm, kCentre + kArm, kCentre + kArm) - kHalfStroke),
      Coverage(DistanceToSegment(px, py, kCentre - kArm, kCentre + kArm, kCentre + kArm, kCentre - kArm) - kHalfStroke));
  auto channel = [&](float red, float white) { return static_cast<std::uint32_t>(red + (white - red) * cross); };
  std::uint32_t alpha = static_cast<std::uint32_t>(255 * disc);
  return (alpha << 24) | (channel(220, 255) << 16) | (channel(30, 255) << 8) | channel(30, 255);
}

SDL_Surface* MakeStopImage() {
  SDL_Surface* image =
      SDL_CreateRGBSurfaceWithFormat(0, TStopIcon::kSize, TStopIcon::kSize, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!image) return nullptr;
  for (int y = 0; y < image->h; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(image->pixels) + y * image->pitch);
    for (int x = 0; x < image->w; ++x) row[x] = StopPixel(x, y);
  }
  SDL_SetSurfaceBlendMode(image, SDL_BLENDMODE_BLEND);
  return image;
}

}  // namespace

TStopIcon::TStopIcon(TCustomForm& parent, std::string name)
    : TControl(parent, std::move(name)), image_(MakeStopImage()) {}

TStopIcon::~TStopIcon() { SDL_FreeSurface(image_); }

void TStopIcon::Paint(TCanvas& canvas) {
  if (image_) canvas.Draw(Left(), Top(), image_);
}
