#pragma once

#include <SDL2/SDL_ttf.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "FontFile.h"
#include "MappedFile.h"

// Every font the labels draw with, opened on first use and kept open, so that
// redrawing a label never opens a font or starts a glyph cache of its own.
// Each font file is mapped once and every size and style reads from that
// mapping: reading a face through a file stream takes thousands of seeks.
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
  const MappedFile& Mapped(const std::string& path);

  // Unmapped only after the destructor has closed every font.
  std::map<std::string, std::unique_ptr<MappedFile>> files_;
  std::map<std::tuple<FontFile, int, bool>, TTF_Font*> fonts_;
};
