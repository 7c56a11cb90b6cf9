#pragma once

#include <SDL2/SDL.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/TCanvas.h"

// Files for the picture tests, made with libjpeg's own cjpeg and read back
// with its djpeg, so the expected pixels come from outside our code.

// A directory of its own for one test, removed afterwards.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  std::filesystem::path Path(const std::string& name) const { return root_ / name; }

 private:
  std::filesystem::path root_;
};

// The current directory changed for one test, and put back afterwards.
class ChangedDirectory {
 public:
  explicit ChangedDirectory(const std::filesystem::path& to);
  ~ChangedDirectory();
  ChangedDirectory(const ChangedDirectory&) = delete;
  ChangedDirectory& operator=(const ChangedDirectory&) = delete;

 private:
  std::filesystem::path from_;
};

std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

// A colourful picture with sharp edges, smooth gradients and noise, so that
// chroma upsampling, smoothing and dithering all leave their mark.
void WriteSourcePicture(const std::filesystem::path& ppm, int width, int height);

// Runs cjpeg on a source picture; options as on its command line.
std::filesystem::path Compress(const std::filesystem::path& ppm, const std::filesystem::path& jpeg,
                               const std::string& options);

struct DecodedPicture {
  int width = 0;
  int height = 0;
  std::vector<std::array<std::uint8_t, 3>> pixels;  // row by row, grey repeated

  std::array<std::uint8_t, 3> At(int x, int y) const { return pixels[y * width + x]; }
};

// Decodes with djpeg (options as on its command line) into PPM or PGM.
DecodedPicture DecodeWithDjpeg(const std::filesystem::path& jpeg, const std::string& options);

// The JPEG with its frame header claiming another size.
std::string WithFrameSize(std::string jpeg, int width, int height);
// The JPEG with its first scan pointing at Huffman tables never defined.
std::string WithUndefinedHuffmanTables(std::string jpeg);

// A 32-bit software surface with a canvas on it, filled with one colour.
class SurfaceCanvas {
 public:
  SurfaceCanvas(int width, int height, Uint32 format = SDL_PIXELFORMAT_XRGB8888);
  ~SurfaceCanvas();
  SurfaceCanvas(const SurfaceCanvas&) = delete;
  SurfaceCanvas& operator=(const SurfaceCanvas&) = delete;

  TCanvas& Canvas() { return *canvas_; }
  void Fill(std::uint8_t r, std::uint8_t g, std::uint8_t b);
  std::array<std::uint8_t, 3> At(int x, int y) const;

 private:
  SDL_Surface* surface_;
  std::unique_ptr<TCanvas> canvas_;
};
