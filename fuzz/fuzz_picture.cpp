// Feeds arbitrary bytes through what showing a picture does with its file:
// the header is read, then the visible part is decoded in every layout the
// form's picture area may ask for.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/JpegCodec.h"

namespace {

constexpr int kVisible = 321;

int BytesPerPixel(JpegLayout layout) {
  switch (layout) {
    case JpegLayout::Rgb: return 3;
    case JpegLayout::Xrgb: return 4;
    case JpegLayout::Palette: return 1;
  }
  return 4;
}

void Decode(const std::uint8_t* data, std::size_t size, const JpegHeader& header, JpegLayout layout) {
  int width = header.width < kVisible ? header.width : kVisible;
  int height = header.height < kVisible ? header.height : kVisible;
  int bytesPerPixel = BytesPerPixel(layout);
  std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * bytesPerPixel);
  JpegDecodeJob job;
  job.data = data;
  job.size = size;
  job.layout = layout;
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
  for (JpegLayout layout : {JpegLayout::Rgb, JpegLayout::Xrgb, JpegLayout::Palette}) Decode(data, size, header, layout);
  return 0;
}
