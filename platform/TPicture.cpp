#include "TPicture.h"

#include <map>
#include <utility>

#include "Errors.h"

namespace {

struct FileFormat {
  std::string description;
  TPicture::GraphicFactory factory;
};

std::map<std::string, FileFormat>& FileFormats() {
  static std::map<std::string, FileFormat> formats;
  return formats;
}

std::string AsciiLowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The text after the last dot, unless a folder or drive separator follows that
// dot. (A 0x5C trail byte after the dot would also end the search, but then
// the extension held a Japanese character, which no format registers.)
std::string FileExtension(const std::string& fileName) {
  std::size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || fileName.find_first_of("\\/:", dot) != std::string::npos) return "";
  return fileName.substr(dot + 1);
}

}  // namespace

void TPicture::RegisterFileFormat(const std::string& extension, const std::string& description,
                                  GraphicFactory factory) {
  FileFormats()[AsciiLowerCase(extension)] = {description, factory};
}

void TPicture::UnregisterFileFormats() { FileFormats().clear(); }

void TPicture::LoadFromFile(const std::string& fileName) {
  auto format = FileFormats().find(AsciiLowerCase(FileExtension(fileName)));
  if (format == FileFormats().end()) {
    throw EInvalidGraphic(FormatMessage("ファイル %s は不明なピクチャ形式です", {fileName}));
  }
  std::unique_ptr<TGraphic> graphic = format->second.factory();
  graphic->SetVisibleLimit(limit_);
  graphic->LoadFromFile(fileName);
  graphic_ = std::move(graphic);
  if (OnChange) OnChange();
}

void TPicture::SetVisibleLimit(TSize limit) {
  limit_ = limit;
  if (graphic_) graphic_->SetVisibleLimit(limit);
}

void TPicture::Draw(TCanvas& canvas, int x, int y) {
  if (graphic_) graphic_->Draw(canvas, x, y);
}
