#include "TCanvas.h"

namespace {
SDL_Rect ToSdl(const TRect& r) { return {r.Left, r.Top, r.Width(), r.Height()}; }
}  // namespace

TCanvas::TCanvas(SDL_Surface* surface)
    : surface_(surface), clip_{0, 0, surface->w, surface->h} {
  SetClipRect(clip_);
}

void TCanvas::SetClipRect(const TRect& rect) {
  clip_ = rect.Intersection({0, 0, surface_->w, surface_->h});
  SDL_Rect sdl = ToSdl(clip_);
  SDL_SetClipRect(surface_, &sdl);
}

void TCanvas::FillRect(const TRect& rect, TColor color) {
  SDL_Rect sdl = ToSdl(rect);
  SDL_FillRect(surface_, &sdl, SDL_MapRGB(surface_->format, color.R, color.G, color.B));
}

void TCanvas::Draw(int x, int y, SDL_Surface* source) {
  SDL_Rect at{x, y, source->w, source->h};
  SDL_BlitSurface(source, nullptr, surface_, &at);
}
