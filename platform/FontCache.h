#pragma once

#include <SDL2/SDL_ttf.h>

#include <map>
#include <tuple>

#include "FontFile.h"

// Every font the labels draw with, opened on first use and kept open, so that
// redrawing a label never opens a font or starts a glyph cache of its own.
class FontCache {
 public:
  static FontCache& Shared();

  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  // The font whose em is pixelSize pixels; bold is drawn by emboldening the
  // outlines. Throws EOutOfResources when the file cannot be opened.
  TTF_Font* Get(const FontFile& file, int pixelSize, bool bold);

 private:
  FontCache();

  std::map<std::tuple<FontFile, int, bool>, TTF_Font*> fonts_;
};
