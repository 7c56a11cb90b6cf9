#include "FontCache.h"

#include <climits>
#include <string>

#include "Errors.h"

FontCache& FontCache::Shared() {
  static FontCache cache;
  return cache;
}

FontCache::FontCache() {
  if (TTF_Init() != 0)
    throw EOutOfResources(std::string("Cannot start the font engine: ") + TTF_GetError());
}

FontCache::~FontCache() {
  for (auto& [file, face] : faces_) TTF_CloseFont(face.Font);
  faces_.clear();  // the mappings go only after every face that reads them
  TTF_Quit();
}

// At the library's default of 72 dots per inch a size of N points is an em of
// N pixels. Switching size or style empties the face's glyph cache, which
// costs little: the label redrawn at every tick keeps to one size.
TTF_Font* FontCache::Get(const FontFile& file, int pixelSize, bool bold) {
  auto found = faces_.find(file);
  if (found == faces_.end()) found = faces_.emplace(file, Open(file, pixelSize)).first;
  Face& face = found->second;
  if (face.PixelSize != pixelSize) {
    if (TTF_SetFontSize(face.Font, pixelSize) != 0) {
      throw EOutOfResources("Cannot size the font " + file.Path + ": " + TTF_GetError());
    }
    face.PixelSize = pixelSize;
  }
  int style = bold ? TTF_STYLE_BOLD : TTF_STYLE_NORMAL;
  if (face.Style != style) {
    TTF_SetFontStyle(face.Font, style);
    face.Style = style;
  }
  return face.Font;
}

FontCache::Face FontCache::Open(const FontFile& file, int pixelSize) {
  Face face;
  face.Bytes = std::make_unique<MappedFile>(file.Path);
  if (!face.Bytes->Data() || face.Bytes->Size() > static_cast<std::size_t>(INT_MAX)) {
    throw EOutOfResources("Cannot read the font " + file.Path);
  }
  SDL_RWops* stream = SDL_RWFromConstMem(face.Bytes->Data(), static_cast<int>(face.Bytes->Size()));
  face.Font = stream ? TTF_OpenFontIndexRW(stream, 1, pixelSize, file.Index) : nullptr;
  if (!face.Font) throw EOutOfResources("Cannot open the font " + file.Path + ": " + TTF_GetError());
  face.PixelSize = pixelSize;
  return face;
}
