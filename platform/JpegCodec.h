#pragma once

#include <cstddef>

// The bridge to libjpeg. The codec reports fatal errors by a long jump, so
// these functions are plain C in spirit: nothing with a destructor lives
// across a call into the codec, and no error leaves them except as a number.
// A returned number is 0 on success, else the error number shown to the user.

struct JpegHeader {
  int width = 0;
  int height = 0;
  int components = 0;
};

// Reads the markers up to the start of the first scan of a file held whole in
// memory (at least one byte).
int ReadJpegHeader(const unsigned char* data, std::size_t size, JpegHeader* header);

// How decoded pixels lie in the target's rows.
enum class JpegLayout {
  Rgb,      // three bytes per pixel: red, green, blue
  Xrgb,     // one 32-bit word 0x00RRGGBB per pixel in the machine's byte order,
            // the layout of most window surfaces
  Palette,  // one index per pixel into at most 236 colours
};

struct JpegDecodeJob {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  JpegLayout layout = JpegLayout::Rgb;
  // The part of the picture wanted, from its top-left corner; nothing beyond
  // it is decoded that need not be.
  int width = 0;
  int height = 0;
  // Rows of the target; they must already hold the colour of the undecoded
  // part. Without them no row is read, though the codec still starts.
  unsigned char* pixels = nullptr;
  int pitch = 0;
  // Filled for a palette, as soon as the codec has chosen its colours.
  unsigned char palette[256][3] = {};
  int paletteSize = 0;
};

// Decodes at full scale with the floating-point inverse DCT and block
// smoothing, every scan before the first row is read. Rows decoded before a
// fatal error stay in the target.
int DecodeJpeg(JpegDecodeJob* job);

// The codec's number for a request it has not the memory for.
int JpegOutOfMemoryNumber();
