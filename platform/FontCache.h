#pragma once

#include <SDL2/SDL_ttf.h>

#include <map>
#include <memory>
#include <string>

#include "FontFile.h"
#include "MappedFile.h"

// The faces the labels draw with, opened on first use and kept open, so that
// redrawing a label never opens a font. Each face is opened once from a
// mapping of its file and switched to the size and style asked for: opening
// a face copies its tables, and the labels ask for four sizes of one face.
class FontCache {
 public:
  static FontCache& Shared();

  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  // The face set to an em of pixelSize pixels; bold is drawn by emboldening
  // the outlines. Set so until the next call. Throws EOutOfResources when the
  // file cannot be opened.
  TTF_Font* Get(const FontFile& file, int pixelSize, bool bold);

 private:
  struct Face {
    std::unique_ptr<MappedFile> Bytes;
    TTF_Font* Font = nullptr;
    int PixelSize = 0;
    int Style = TTF_STYLE_NORMAL;
  };

  FontCache();
  static Face Open(const FontFile& file, int pixelSize);

  std::map<FontFile, Face> faces_;
};
