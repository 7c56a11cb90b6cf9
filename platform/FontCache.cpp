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
  for (auto& [key, font] : fonts_) TTF_CloseFont(font);
  TTF_Quit();
}

// At the library's default of 72 dots per inch a size of N points is an em of
// N pixels.
TTF_Font* FontCache::Get(const FontFile& file, int pixelSize, bool bold) {
  auto key = std::make_tuple(file, pixelSize, bold);
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  const MappedFile& bytes = Mapped(file.Path);
  if (!bytes.Data() || bytes.Size() > static_cast<std::size_t>(INT_MAX)) {
    throw EOutOfResources("Cannot read the font " + file.Path);
  }
  SDL_RWops* stream = SDL_RWFromConstMem(bytes.Data(), static_cast<int>(bytes.Size()));
  TTF_Font* font = stream ? TTF_OpenFontIndexRW(stream, 1, pixelSize, file.Index) : nullptr;
  if (font == nullptr) {
    throw EOutOfResources("Cannot open the font " + file.Path + ": " + TTF_GetError());
  }
  if (bold) TTF_SetFontStyle(font, TTF_STYLE_BOLD);
  fonts_.emplace(std::move(key), font);
  return font;
}

const MappedFile& FontCache::Mapped(const std::string& path) {
  std::unique_ptr<MappedFile>& file = files_[path];
  if (!file) file = std::make_unique<MappedFile>(path);
  return *file;
}
