#include "TJPEGImage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <stdexcept>
#include <utility>

#include "Cp932.h"
#include "Errors.h"
#include "FilePath.h"
#include "JpegCodec.h"

namespace {

// A bitmap larger than this is refused before it is made; pictures shown by a
// control are cut to the control's size long before that.
constexpr long long kMaxBitmapPixels = 1LL << 24;

// Palette bitmaps start filled with this entry, black: the codec uses at most
// 236 colours, so it is never one of them.
constexpr Uint8 kUndecodedIndex = 255;

class FileHandle {
 public:
  explicit FileHandle(int descriptor) : descriptor_(descriptor) {}
  ~FileHandle() {
    if (descriptor_ >= 0) close(descriptor_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  int Get() const { return descriptor_; }

 private:
  int descriptor_;
};

EFOpenError CannotOpen(const std::string& fileName) {
  return EFOpenError(FormatMessage("ファイル %s は開けません", {fileName}));
}

EJPEG JpegError(int number) {
  return EJPEG(FormatMessage("JPEG エラー #%d", {std::to_string(number)}));
}

// Names are code page 932; the file system wants UTF-8. Converting before the
// separators are mapped keeps a 0x5C trail byte from being taken for "\".
std::string NativePath(const std::string& fileName) { return FileSystemPath(Cp932ToUtf8(fileName)); }

EStreamError NoMemoryForStream() { return EStreamError("メモリストリームの拡大中にメモリが足りなくなりました"); }

void ResizeInMemory(std::vector<unsigned char>& bytes, std::size_t size) {
  try {
    bytes.resize(size);
  } catch (const std::bad_alloc&) {
    throw NoMemoryForStream();
  } catch (const std::length_error&) {
    throw NoMemoryForStream();
  }
}

// Reads to the end, however far that is from the size the file had when opened.
void ReadToEnd(int descriptor, const std::string& fileName, std::vector<unsigned char>& bytes) {
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) ResizeInMemory(bytes, std::max<std::size_t>(4096, bytes.size() * 2));
    ssize_t count = read(descriptor, bytes.data() + filled, bytes.size() - filled);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) throw CannotOpen(fileName);
    if (count == 0) break;
    filled += static_cast<std::size_t>(count);
  }
  bytes.resize(filled);
}

std::vector<unsigned char> ReadWholeFile(const std::string& fileName) {
  // Non-blocking, so that a FIFO under the name fails at once instead of waiting.
  FileHandle file(open(NativePath(fileName).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  struct stat status {};
  if (file.Get() < 0 || fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    throw CannotOpen(fileName);
  }
  std::vector<unsigned char> bytes;
  // One byte more than the file holds, so the end shows without a second buffer.
  ResizeInMemory(bytes, static_cast<std::size_t>(status.st_size) + 1);
  ReadToEnd(file.Get(), fileName, bytes);
  return bytes;
}

// The surface format whose pixels lie as the codec writes JpegLayout::Xrgb.
constexpr Uint32 kXrgbFormat = SDL_PIXELFORMAT_RGB888;

SDL_Surface* CreateEmptyBitmap(TSize size, JpegLayout layout) {
  // SDL fills new surfaces with zeros: black.
  if (layout == JpegLayout::Xrgb) return SDL_CreateRGBSurfaceWithFormat(0, size.Width, size.Height, 32, kXrgbFormat);
  if (layout == JpegLayout::Rgb) {
    return SDL_CreateRGBSurfaceWithFormat(0, size.Width, size.Height, 24, SDL_PIXELFORMAT_RGB24);
  }
  SDL_Surface* bitmap = SDL_CreateRGBSurfaceWithFormat(0, size.Width, size.Height, 8, SDL_PIXELFORMAT_INDEX8);
  if (bitmap) SDL_FillRect(bitmap, nullptr, kUndecodedIndex);
  return bitmap;
}

void ApplyPalette(SDL_Surface* bitmap, const JpegDecodeJob& job) {
  SDL_Color colours[256] = {};
  for (int i = 0; i < 256; ++i) {
    bool decoded = i < job.paletteSize;
    colours[i] = decoded ? SDL_Color{job.palette[i][0], job.palette[i][1], job.palette[i][2], 255}
                         : SDL_Color{0, 0, 0, 255};
  }
  SDL_SetPaletteColors(bitmap->format->palette, colours, 0, 256);
}

}  // namespace

bool TJPEGImage::decodeToPalette_ = false;

std::unique_ptr<TGraphic> TJPEGImage::Create() { return std::make_unique<TJPEGImage>(); }

void TJPEGImage::SetDecodeToPalette(bool toPalette) { decodeToPalette_ = toPalette; }

void TJPEGImage::LoadFromFile(const std::string& fileName) {
  std::vector<unsigned char> bytes = ReadWholeFile(fileName);
  JpegHeader header;
  // An empty file loads; the codec's complaint about it comes with the first draw.
  if (!bytes.empty()) {
    int error = ReadJpegHeader(bytes.data(), bytes.size(), &header);
    if (error != 0) throw JpegError(error);
  }
  data_ = std::move(bytes);
  width_ = header.width;
  height_ = header.height;
  components_ = header.components;
  decodeAttempted_ = false;
  bitmap_.reset();
  readyToBlit_.reset();
}

void TJPEGImage::Draw(TCanvas& canvas, int x, int y) {
  if (!decodeAttempted_) {
    try {
      Decode(canvas.Surface()->format->format);
    } catch (const Exception&) {
      Blit(canvas, x, y);
      throw;
    }
  }
  Blit(canvas, x, y);
}

bool TJPEGImage::QuantisesToPalette() const { return decodeToPalette_ || components_ == 1; }

TSize TJPEGImage::DecodedSize() const {
  return {std::clamp(limit_.Width, 0, width_), std::clamp(limit_.Height, 0, height_)};
}

void TJPEGImage::Decode(Uint32 canvasFormat) {
  decodeAttempted_ = true;
  TSize size = DecodedSize();
  if (static_cast<long long>(size.Width) * size.Height > kMaxBitmapPixels) {
    throw JpegError(JpegOutOfMemoryNumber());
  }
  JpegLayout layout = QuantisesToPalette()          ? JpegLayout::Palette
                      : canvasFormat == kXrgbFormat ? JpegLayout::Xrgb
                                                    : JpegLayout::Rgb;
  if (size.Width > 0 && size.Height > 0) {
    bitmap_.reset(CreateEmptyBitmap(size, layout));
    if (!bitmap_) throw EOutOfMemory("メモリが足りません");
  }
  JpegDecodeJob job;
  job.data = data_.data();
  job.size = data_.size();
  job.layout = layout;
  job.width = size.Width;
  job.height = size.Height;
  job.pixels = bitmap_ ? static_cast<unsigned char*>(bitmap_->pixels) : nullptr;
  job.pitch = bitmap_ ? bitmap_->pitch : 0;
  int error = DecodeJpeg(&job);
  if (bitmap_ && layout == JpegLayout::Palette) ApplyPalette(bitmap_.get(), job);
  if (error != 0) throw JpegError(error);
}

void TJPEGImage::Blit(TCanvas& canvas, int x, int y) {
  if (!bitmap_) return;
  const SDL_PixelFormat* target = canvas.Surface()->format;
  if (bitmap_->format->format == target->format) {
    canvas.Draw(x, y, bitmap_.get());
    return;
  }
  if (!readyToBlit_ || readyToBlit_->format->format != target->format) {
    readyToBlit_.reset(SDL_ConvertSurface(bitmap_.get(), target, 0));
    // A picture is opaque: copy it, never blend it.
    if (readyToBlit_) SDL_SetSurfaceBlendMode(readyToBlit_.get(), SDL_BLENDMODE_NONE);
  }
  canvas.Draw(x, y, readyToBlit_ ? readyToBlit_.get() : bitmap_.get());
}
