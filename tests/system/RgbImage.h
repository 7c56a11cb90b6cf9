#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <vector>

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& colour);

// 24-bit pixels, row by row: screenshots, test pictures and djpeg's output.
class RgbImage {
 public:
  RgbImage() = default;
  RgbImage(int width, int height);  // black

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb At(int x, int y) const { return pixels_[Index(x, y)]; }
  void Set(int x, int y, Rgb colour) { pixels_[Index(x, y)] = colour; }

  // Copies the other image in with its top-left corner at (x, y), cut at this
  // image's edges.
  void Paste(const RgbImage& other, int x, int y);

  // Binary PPM (P6) or PGM (P5) with a maximum of 255, as djpeg writes them.
  static RgbImage ReadPnm(const std::filesystem::path& file);
  void WritePpm(const std::filesystem::path& file) const;

 private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

  int width_ = 0;
  int height_ = 0;
  std::vector<Rgb> pixels_;
};
