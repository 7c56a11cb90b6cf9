#pragma once

#include <SDL2/SDL.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "Geometry.h"
#include "TCanvas.h"
#include "TGraphic.h"

// A JPEG picture: every byte of its file, the size from its header, and the
// bitmap decoded the first time it is drawn and kept from then on.
class TJPEGImage : public TGraphic {
 public:
  static std::unique_ptr<TGraphic> Create();

  // Process-wide, fixed at start-up: quantise every picture to a palette of
  // at most 236 colours (for a screen of 8 bits per pixel or fewer). Greyscale
  // pictures are quantised whatever this says.
  static void SetDecodeToPalette(bool toPalette);
  static bool DecodeToPalette() { return decodeToPalette_; }

  void LoadFromFile(const std::string& fileName) override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }

  void SetVisibleLimit(TSize limit) override { limit_ = limit; }

  // The first draw decodes; a fatal codec error is raised then, after what was
  // decoded has been drawn, and never again: later draws show that bitmap.
  void Draw(TCanvas& canvas, int x, int y) override;

 private:
  struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
  };
  using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

  bool QuantisesToPalette() const;
  TSize DecodedSize() const;
  // Straight into the canvas's format where the codec can write it.
  void Decode(Uint32 canvasFormat);
  void Blit(TCanvas& canvas, int x, int y);

  static bool decodeToPalette_;

  std::vector<unsigned char> data_;
  int width_ = 0;
  int height_ = 0;
  int components_ = 0;
  TSize limit_{INT_MAX, INT_MAX};
  bool decodeAttempted_ = false;
  SurfacePtr bitmap_;
  // The bitmap converted to the format of the canvas last drawn on, when it
  // was not decoded in that format, so that a paint is one copy.
  SurfacePtr readyToBlit_;
};
