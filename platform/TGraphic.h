#pragma once

#include <string>

#include "Geometry.h"
#include "TCanvas.h"

// A picture in one file format, as the picture container holds it.
class TGraphic {
 public:
  virtual ~TGraphic() = default;

  // Replaces the picture with the file's only when the whole load succeeds.
  virtual void LoadFromFile(const std::string& fileName) = 0;

  virtual int Width() const = 0;
  virtual int Height() const = 0;

  // The largest part, from the top-left corner, that will ever be shown; a
  // graphic need not prepare more of itself than that.
  virtual void SetVisibleLimit(TSize limit) = 0;

  // Draws at its own size with its top-left corner at (x, y), within the
  // canvas's clip rectangle.
  virtual void Draw(TCanvas& canvas, int x, int y) = 0;
};
