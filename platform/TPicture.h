#pragma once

#include <climits>
#include <functional>
#include <memory>
#include <string>

#include "Geometry.h"
#include "TCanvas.h"
#include "TGraphic.h"

// Holds at most one graphic, of the class that its file's extension selects.
class TPicture {
 public:
  using GraphicFactory = std::unique_ptr<TGraphic> (*)();

  // Extensions are matched without the dot and regardless of case.
  static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                 GraphicFactory factory);
  static void UnregisterFileFormats();

  // The held graphic is replaced only when the whole load succeeds.
  void LoadFromFile(const std::string& fileName);

  TGraphic* Graphic() const { return graphic_.get(); }
  bool Empty() const { return !graphic_; }
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }

  // Handed on to every graphic held now or later.
  void SetVisibleLimit(TSize limit);

  void Draw(TCanvas& canvas, int x, int y);

  // Called after a successful load.
  std::function<void()> OnChange;

 private:
  std::unique_ptr<TGraphic> graphic_;
  TSize limit_{INT_MAX, INT_MAX};
};
