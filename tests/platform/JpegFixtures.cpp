#include "JpegFixtures.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace {

std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// cjpeg and djpeg exit with 2 after a warning (such as for a truncated file).
void Run(const std::string& command) {
  int status = std::system((command + " 2>/dev/null").c_str());
  if (status == -1 || !WIFEXITED(status) || (WEXITSTATUS(status) != 0 && WEXITSTATUS(status) != 2)) {
    throw std::runtime_error("failed: " + command);
  }
}

std::uint8_t Clamp(double value) { return static_cast<std::uint8_t>(std::lround(std::fmin(255.0, std::fmax(0.0, value)))); }

std::size_t FrameHeaderOffset(const std::string& jpeg) {
  for (std::size_t i = 2; i + 1 < jpeg.size(); ++i) {
    auto marker = static_cast<unsigned char>(jpeg[i + 1]);
    if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC1 || marker == 0xC2)) {
      return i;
    }
  }
  throw std::runtime_error("no frame header");
}

void PutBigEndian16(std::string& bytes, std::size_t at, int value) {
  bytes[at] = static_cast<char>((value >> 8) & 0xFF);
  bytes[at + 1] = static_cast<char>(value & 0xFF);
}

}  // namespace

ScratchDirectory::ScratchDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "picture-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

ChangedDirectory::ChangedDirectory(const std::filesystem::path& to) : from_(std::filesystem::current_path()) {
  std::filesystem::current_path(to);
}

ChangedDirectory::~ChangedDirectory() { std::filesystem::current_path(from_); }

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void WriteSourcePicture(const std::filesystem::path& ppm, int width, int height) {
  std::string bytes = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  std::uint32_t noise = 12345;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      double grain = static_cast<double>(noise >> 24) / 8.0 - 16.0;
      bool disc = (x - 200) * (x - 200) + (y - 170) * (y - 170) < 90 * 90;
      bool stripe = (x / 5) % 2 == 0;
      bytes += static_cast<char>(Clamp((disc ? 230 : 40) + x * 0.2 + grain));
      bytes += static_cast<char>(Clamp(128 + 100 * std::sin(x / 9.0) * std::cos(y / 13.0) + grain));
      bytes += static_cast<char>(Clamp((stripe ? 200 : 60) - y * 0.3 + grain));
    }
  }
  WriteBytes(ppm, bytes);
}

std::filesystem::path Compress(const std::filesystem::path& ppm, const std::filesystem::path& jpeg,
                               const std::string& options) {
  Run("cjpeg " + options + " -outfile " + Quoted(jpeg) + " " + Quoted(ppm));
  return jpeg;
}

DecodedPicture DecodeWithDjpeg(const std::filesystem::path& jpeg, const std::string& options) {
  std::filesystem::path pnm = jpeg;
  pnm += ".pnm";
  Run("djpeg " + options + " -pnm -outfile " + Quoted(pnm) + " " + Quoted(jpeg));
  std::istringstream in(ReadBytes(pnm));
  std::string magic;
  int maxValue = 0;
  DecodedPicture picture;
  in >> magic >> picture.width >> picture.height >> maxValue;
  in.get();
  bool grey = magic == "P5";
  for (int i = 0; i < picture.width * picture.height; ++i) {
    std::array<std::uint8_t, 3> pixel{};
    pixel[0] = static_cast<std::uint8_t>(in.get());
    pixel[1] = grey ? pixel[0] : static_cast<std::uint8_t>(in.get());
    pixel[2] = grey ? pixel[0] : static_cast<std::uint8_t>(in.get());
    picture.pixels.push_back(pixel);
  }
  return picture;
}

std::string WithFrameSize(std::string jpeg, int width, int height) {
  std::size_t frame = FrameHeaderOffset(jpeg);
  PutBigEndian16(jpeg, frame + 5, height);
  PutBigEndian16(jpeg, frame + 7, width);
  return jpeg;
}

std::string WithUndefinedHuffmanTables(std::string jpeg) {
  std::size_t scan = jpeg.find("\xFF\xDA");
  if (scan == std::string::npos) throw std::runtime_error("no scan header");
  // Marker, length, count, then the first component's id and its two tables.
  jpeg[scan + 6] = 0x33;
  return jpeg;
}

SurfaceCanvas::SurfaceCanvas(int width, int height, Uint32 format)
    : surface_(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, format)),
      canvas_(std::make_unique<TCanvas>(surface_)) {}

SurfaceCanvas::~SurfaceCanvas() {
  canvas_.reset();
  SDL_FreeSurface(surface_);
}

void SurfaceCanvas::Fill(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  SDL_FillRect(surface_, nullptr, SDL_MapRGB(surface_->format, r, g, b));
}

std::array<std::uint8_t, 3> SurfaceCanvas::At(int x, int y) const {
  auto* row = static_cast<const std::uint8_t*>(surface_->pixels) + y * surface_->pitch;
  Uint32 value = 0;
  std::memcpy(&value, row + x * surface_->format->BytesPerPixel, surface_->format->BytesPerPixel);
  std::array<std::uint8_t, 3> rgb{};
  SDL_GetRGB(value, surface_->format, &rgb[0], &rgb[1], &rgb[2]);
  return rgb;
}
