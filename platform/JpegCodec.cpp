#include "JpegCodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// What the codec may take for its whole-image buffers (the coefficients of a
// progressive picture, the rows of a two-pass quantisation). A header can
// declare 65500 x 65500 pixels in a kilobyte; past this the codec stops with
// its own error instead of exhausting the machine.
constexpr long kCodecMemoryLimit = 128L * 1024 * 1024;

// The numbers shown for the two conditions users meet most; every other error
// keeps the codec's own number.
constexpr int kNoStartOfImageNumber = 52;
constexpr int kEmptyInputNumber = 41;

constexpr int kPaletteColours = 236;

struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf escape;
};

void EscapeFromCodec(j_common_ptr cinfo) {
  // The manager is the first member, so the codec's pointer is the trap's.
  std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->escape, 1);
}

// Warnings (corrupt or truncated data among them) are not reported: what the
// codec decodes is shown.
void IgnoreMessage(j_common_ptr, int) {}
void IgnoreOutput(j_common_ptr) {}

void InstallTrap(jpeg_decompress_struct* cinfo, ErrorTrap* trap) {
  cinfo->err = jpeg_std_error(&trap->manager);
  trap->manager.error_exit = EscapeFromCodec;
  trap->manager.emit_message = IgnoreMessage;
  trap->manager.output_message = IgnoreOutput;
}

int ShownErrorNumber(int codecNumber) {
  switch (codecNumber) {
    case JERR_NO_SOI:
      return kNoStartOfImageNumber;
    case JERR_INPUT_EMPTY:
      return kEmptyInputNumber;
    default:
      return codecNumber;
  }
}

// The colour space whose bytes in memory form 0x00RRGGBB words.
constexpr J_COLOR_SPACE XrgbWords() {
  return __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? JCS_EXT_BGRX : JCS_EXT_XRGB;
}

void ChooseOutput(jpeg_decompress_struct* cinfo, JpegLayout layout) {
  cinfo->scale_num = 1;
  cinfo->scale_denom = 1;
  cinfo->dct_method = JDCT_FLOAT;
  cinfo->do_block_smoothing = TRUE;
  cinfo->buffered_image = FALSE;
  if (layout == JpegLayout::Palette) {
    cinfo->quantize_colors = TRUE;
    cinfo->desired_number_of_colors = kPaletteColours;
  } else {
    cinfo->out_color_space = layout == JpegLayout::Xrgb ? XrgbWords() : JCS_RGB;
  }
}

void CopyColormap(const jpeg_decompress_struct* cinfo, JpegDecodeJob* job) {
  int colours = cinfo->actual_number_of_colors;
  bool grey = cinfo->out_color_components == 1;
  for (int i = 0; i < colours; ++i) {
    for (int channel = 0; channel < 3; ++channel) {
      job->palette[i][channel] = cinfo->colormap[grey ? 0 : channel][i];
    }
  }
  job->paletteSize = colours;
}

// Decodes only the columns wanted, plus one iMCU so that the upsampler sees
// the same right-hand neighbours as in a full decode. Quantised output is never
// cut: its dithering runs across the whole row.
void CropToWidth(jpeg_decompress_struct* cinfo, int width) {
  long iMCUWidth = static_cast<long>(cinfo->max_h_samp_factor) * cinfo->min_DCT_scaled_size;
  long wanted = static_cast<long>(width) + iMCUWidth;
  if (wanted >= static_cast<long>(cinfo->output_width)) return;
  JDIMENSION xOffset = 0;
  JDIMENSION cropWidth = static_cast<JDIMENSION>(wanted);
  jpeg_crop_scanline(cinfo, &xOffset, &cropWidth);
}

void ReadRows(jpeg_decompress_struct* cinfo, JpegDecodeJob* job) {
  JDIMENSION rows = cinfo->output_height;
  if (static_cast<JDIMENSION>(job->height) < rows) rows = static_cast<JDIMENSION>(job->height);
  JDIMENSION columns = cinfo->output_width;
  if (static_cast<JDIMENSION>(job->width) < columns) columns = static_cast<JDIMENSION>(job->width);
  std::size_t rowBytes = static_cast<std::size_t>(columns) * cinfo->output_components;
  JSAMPARRAY line = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                cinfo->output_width * cinfo->output_components, 1);
  while (cinfo->output_scanline < rows) {
    std::size_t row = cinfo->output_scanline;
    jpeg_read_scanlines(cinfo, line, 1);
    std::memcpy(job->pixels + row * job->pitch, line[0], rowBytes);
  }
}

}  // namespace

int ReadJpegHeader(const unsigned char* data, std::size_t size, JpegHeader* header) {
  jpeg_decompress_struct cinfo{};
  ErrorTrap trap;
  InstallTrap(&cinfo, &trap);
  if (setjmp(trap.escape)) {
    int number = ShownErrorNumber(trap.manager.msg_code);
    jpeg_destroy_decompress(&cinfo);
    return number;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, size);
  jpeg_read_header(&cinfo, TRUE);
  header->width = static_cast<int>(cinfo.image_width);
  header->height = static_cast<int>(cinfo.image_height);
  header->components = cinfo.num_components;
  jpeg_destroy_decompress(&cinfo);
  return 0;
}

int DecodeJpeg(JpegDecodeJob* job) {
  jpeg_decompress_struct cinfo{};
  ErrorTrap trap;
  InstallTrap(&cinfo, &trap);
  if (setjmp(trap.escape)) {
    int number = ShownErrorNumber(trap.manager.msg_code);
    jpeg_destroy_decompress(&cinfo);
    return number;
  }
  jpeg_create_decompress(&cinfo);
  cinfo.mem->max_memory_to_use = kCodecMemoryLimit;
  // Data that ends early reads as if an end-of-image marker followed.
  jpeg_mem_src(&cinfo, job->data, job->size);
  jpeg_read_header(&cinfo, TRUE);
  ChooseOutput(&cinfo, job->layout);
  jpeg_start_decompress(&cinfo);
  if (job->layout == JpegLayout::Palette) {
    CopyColormap(&cinfo, job);
  } else {
    CropToWidth(&cinfo, job->width);
  }
  if (job->pixels) ReadRows(&cinfo, job);
  // Rows below the wanted part are never read; destroying aborts the rest.
  jpeg_destroy_decompress(&cinfo);
  return 0;
}

int JpegOutOfMemoryNumber() { return JERR_OUT_OF_MEMORY; }
