#include "RgbImage.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

// Reads the next number of a PNM header, skipping white space and comments.
int ReadHeaderNumber(std::istream& in) {
  for (;;) {
    int c = in.peek();
    if (c == '#') {
      std::string comment;
      std::getline(in, comment);
    } else if (std::isspace(c)) {
      in.get();
    } else {
      break;
    }
  }
  int value = -1;
  in >> value;
  return value;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const Rgb& colour) {
  return out << '(' << int(colour.r) << ", " << int(colour.g) << ", " << int(colour.b) << ')';
}

RgbImage::RgbImage(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height) {}

void RgbImage::Paste(const RgbImage& other, int x, int y) {
  for (int row = std::max(0, -y); row < other.Height() && y + row < height_; ++row) {
    for (int column = std::max(0, -x); column < other.Width() && x + column < width_; ++column) {
      Set(x + column, y + row, other.At(column, row));
    }
  }
}

RgbImage RgbImage::ReadPnm(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  in >> magic;
  bool grey = magic == "P5";
  if (!grey && magic != "P6") throw std::runtime_error("not a binary PPM or PGM: " + file.string());
  int width = ReadHeaderNumber(in);
  int height = ReadHeaderNumber(in);
  int maximum = ReadHeaderNumber(in);
  if (width <= 0 || height <= 0 || maximum != 255) throw std::runtime_error("unexpected PNM header: " + file.string());
  in.get();  // the single white-space character before the samples
  RgbImage image(width, height);
  std::vector<char> samples(static_cast<std::size_t>(width) * height * (grey ? 1 : 3));
  if (!in.read(samples.data(), static_cast<std::streamsize>(samples.size()))) {
    throw std::runtime_error("PNM file too short: " + file.string());
  }
  for (std::size_t i = 0; i < image.pixels_.size(); ++i) {
    auto sample = [&](std::size_t k) { return static_cast<std::uint8_t>(samples[k]); };
    image.pixels_[i] = grey ? Rgb{sample(i), sample(i), sample(i)} : Rgb{sample(3 * i), sample(3 * i + 1), sample(3 * i + 2)};
  }
  return image;
}

void RgbImage::WritePpm(const std::filesystem::path& file) const {
  std::ofstream out(file, std::ios::binary);
  out << "P6\n" << width_ << ' ' << height_ << "\n255\n";
  for (const Rgb& pixel : pixels_) {
    out.put(static_cast<char>(pixel.r)).put(static_cast<char>(pixel.g)).put(static_cast<char>(pixel.b));
  }
  if (!out) throw std::runtime_error("cannot write " + file.string());
}
