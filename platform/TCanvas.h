#pragma once

#include <SDL2/SDL.h>

#include "Colors.h"
#include "Geometry.h"

// Drawing onto a software surface, always clipped to the current clip rectangle
// (in surface pixels), so a control can never paint outside what was invalidated.
class TCanvas {
 public:
  explicit TCanvas(SDL_Surface* surface);

  SDL_Surface* Surface() const { return surface_; }
  TRect ClipRect() const { return clip_; }
  void SetClipRect(const TRect& rect);

  void FillRect(const TRect& rect, TColor color);
  // Copies a surface with its top-left corner at (x, y), blending where it has alpha.
  void Draw(int x, int y, SDL_Surface* source);

 private:
  SDL_Surface* surface_;
  TRect clip_;
};
