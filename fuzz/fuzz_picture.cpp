// Feeds arbitrary bytes through what showing a picture does with its file:
// the header is read, then the visible part is decoded both to colour and to
// a palette, as the form's picture area would show it.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/JpegCodec.h"

namespace {

constexpr int kVisible = 321;

void Decode(const std::uint8_t* data, std::size_t size, const JpegHeader& header, bool toPalette) {
  int width = header.width < kVisible ? header.width : kVisible;
  int height = header.height < kVisible ? header.height : kVisible;
  int bytesPerPixel = toPalette ? 1 : 3;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * bytesPerPixel);
  JpegDecodeJob job;
  job.data = data;
  job.size = size;
  job.toPalette = toPalette;
  job.width = width;
  job.height = height;
  job.pixels = pixels.data();
  job.pitch = width * bytesPerPixel;
  DecodeJpeg(&job);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  JpegHeader header;
  if (ReadJpegHeader(data, size, &header) != 0) return 0;
  if (header.width <= 0 || header.height <= 0) return 0;
  Decode(data, size, header, false);
  Decode(data, size, header, true);
  return 0;
}
