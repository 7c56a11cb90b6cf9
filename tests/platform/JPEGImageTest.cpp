#include <gtest/gtest.h>
#include <jerror.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "JpegFixtures.h"
#include "platform/Errors.h"
#include "platform/TJPEGImage.h"

namespace {

constexpr TSize kControlSize{321, 321};

std::string JpegErrorMessage(int number) { return "JPEG エラー #" + std::to_string(number); }

std::string OpenErrorMessage(const std::string& name) { return "ファイル " + name + " は開けません"; }

// The message of the error that loading raises, with its class, or "" if none.
std::string LoadFailure(TJPEGImage& image, const std::string& fileName) {
  try {
    image.LoadFromFile(fileName);
  } catch (const Exception& e) {
    return e.ClassName() + ": " + e.Message();
  }
  return "";
}

std::string DrawFailure(TJPEGImage& image, TCanvas& canvas, int x, int y) {
  try {
    image.Draw(canvas, x, y);
  } catch (const Exception& e) {
    return e.ClassName() + ": " + e.Message();
  }
  return "";
}

// Keeps a forked check from taking the machine down if the bound fails.
void LimitAddressSpaceToCurrentPlus(long long extraBytes) {
  long pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  long long current = static_cast<long long>(pages) * sysconf(_SC_PAGESIZE);
  rlimit limit{static_cast<rlim_t>(current + extraBytes), static_cast<rlim_t>(current + extraBytes)};
  setrlimit(RLIMIT_AS, &limit);
}

// <chrono> cannot be used here: its texts have no place in code page 932.
long long MonotonicMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

long long PeakResidentBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<long long>(usage.ru_maxrss) * 1024;
}

class JpegImageTest : public ::testing::Test {
 protected:
  void TearDown() override { TJPEGImage::SetDecodeToPalette(false); }

  // A picture larger than the control both ways, with sizes that are no
  // multiple of an MCU.
  std::filesystem::path Picture(const std::string& name, const std::string& cjpegOptions, int width = 403,
                                int height = 357) {
    std::filesystem::path ppm = scratch_.Path(name + ".ppm");
    WriteSourcePicture(ppm, width, height);
    return Compress(ppm, scratch_.Path(name + ".jpg"), cjpegOptions);
  }

  ScratchDirectory scratch_;
};

TEST_F(JpegImageTest, LoadFailuresNameTheFileAsPassedOrTheCodecNumber) {
  std::string jpeg = ReadBytes(Picture("good", "-quality 85"));
  std::filesystem::create_directory(scratch_.Path("folder.jpg"));
  mkfifo(scratch_.Path("pipe.jpg").c_str(), 0600);
  WriteBytes(scratch_.Path("one.jpg"), "\xFF");
  WriteBytes(scratch_.Path("png.jpg"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  WriteBytes(scratch_.Path("header.jpg"), jpeg.substr(0, 30));

  std::string folder = scratch_.Path("").string();
  struct Case {
    std::string fileName;
    std::string expected;
  };
  std::vector<Case> cases = {
      {folder + "\\missing.jpg", "EFOpenError: " + OpenErrorMessage(folder + "\\missing.jpg")},
      {folder + "folder.jpg", "EFOpenError: " + OpenErrorMessage(folder + "folder.jpg")},
      {folder + "pipe.jpg", "EFOpenError: " + OpenErrorMessage(folder + "pipe.jpg")},
      {folder + "one.jpg", "EJPEG: " + JpegErrorMessage(52)},
      {folder + "png.jpg", "EJPEG: " + JpegErrorMessage(52)},
      // The stream ends inside the first table: the codec then meets its
      // stand-in end-of-image marker before any frame.
      {folder + "header.jpg", "EJPEG: " + JpegErrorMessage(JERR_NO_IMAGE)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fileName);
    TJPEGImage image;
    EXPECT_EQ(LoadFailure(image, c.fileName), c.expected);
  }
}

TEST_F(JpegImageTest, ACodePage932NameWithBackslashesResolvesAgainstTheCurrentDirectory) {
  std::filesystem::create_directory(scratch_.Path("[]"));
  // "表" ends in the byte 0x5C in code page 932, which must not split the name.
  std::filesystem::copy_file(Picture("good", "-quality 85"), scratch_.Path("[]") / u8"表.jpg");
  ChangedDirectory here(scratch_.Path(""));

  TJPEGImage image;
  EXPECT_EQ(LoadFailure(image, "[]\\表.jpg"), "");
  EXPECT_EQ(image.Width(), 403);
  EXPECT_EQ(image.Height(), 357);
  EXPECT_EQ(LoadFailure(image, "[]\\無い.jpg"), "EFOpenError: " + OpenErrorMessage("[]\\無い.jpg"));
}

TEST_F(JpegImageTest, AFailedLoadKeepsThePictureHeld) {
  std::filesystem::path good = Picture("good", "-quality 85");
  WriteBytes(scratch_.Path("bad.jpg"), "not a picture");
  TJPEGImage image;
  image.SetVisibleLimit(kControlSize);
  image.LoadFromFile(good.string());

  EXPECT_NE(LoadFailure(image, scratch_.Path("bad.jpg").string()), "");
  EXPECT_NE(LoadFailure(image, scratch_.Path("missing.jpg").string()), "");

  EXPECT_EQ(image.Width(), 403);
  EXPECT_EQ(image.Height(), 357);
  SurfaceCanvas canvas(321, 321);
  image.Draw(canvas.Canvas(), 0, 0);
  DecodedPicture expected = DecodeWithDjpeg(good, "-dct float");
  EXPECT_EQ(canvas.At(100, 100), expected.At(100, 100));
  EXPECT_EQ(canvas.At(320, 320), expected.At(320, 320));
}

TEST_F(JpegImageTest, AnEmptyFileLoadsAndOnlyItsFirstDrawReportsError41) {
  WriteBytes(scratch_.Path("empty.jpg"), "");
  TJPEGImage image;
  ASSERT_EQ(LoadFailure(image, scratch_.Path("empty.jpg").string()), "");
  EXPECT_EQ(image.Width(), 0);
  EXPECT_EQ(image.Height(), 0);

  SurfaceCanvas canvas(337, 337);
  EXPECT_EQ(DrawFailure(image, canvas.Canvas(), 8, 8), "EJPEG: " + JpegErrorMessage(41));
  EXPECT_EQ(DrawFailure(image, canvas.Canvas(), 8, 8), "");
}

TEST_F(JpegImageTest, DataThatFailsAfterASoundHeaderFailsOnlyTheFirstDrawAndLeavesBlack) {
  WriteBytes(scratch_.Path("corrupt.jpg"), WithUndefinedHuffmanTables(ReadBytes(Picture("good", "-quality 85"))));
  TJPEGImage image;
  image.SetVisibleLimit(kControlSize);
  ASSERT_EQ(LoadFailure(image, scratch_.Path("corrupt.jpg").string()), "");
  EXPECT_EQ(image.Width(), 403);

  SurfaceCanvas canvas(337, 337);
  canvas.Fill(255, 255, 255);
  EXPECT_EQ(DrawFailure(image, canvas.Canvas(), 8, 8), "EJPEG: " + JpegErrorMessage(JERR_NO_HUFF_TABLE));
  canvas.Fill(255, 255, 255);
  EXPECT_EQ(DrawFailure(image, canvas.Canvas(), 8, 8), "");
  std::array<std::uint8_t, 3> black{0, 0, 0};
  EXPECT_EQ(canvas.At(8, 8), black);
  EXPECT_EQ(canvas.At(328, 328), black);
  EXPECT_EQ(canvas.At(7, 7), (std::array<std::uint8_t, 3>{255, 255, 255}));
}

struct DecodeCase {
  const char* name;
  const char* cjpegOptions;
  const char* djpegOptions;  // what reproduces our settings
  bool eightBitScreen;
  double keptFraction;  // of the file's bytes; below 1 the data ends early
};

void PrintTo(const DecodeCase& c, std::ostream* out) { *out << c.name; }

class JpegDecodeTest : public JpegImageTest, public ::testing::WithParamInterface<DecodeCase> {
 protected:
  std::filesystem::path CaseFile() {
    const DecodeCase& c = GetParam();
    std::string whole = ReadBytes(Picture(c.name, c.cjpegOptions));
    std::filesystem::path file = scratch_.Path(std::string(c.name) + "-case.jpg");
    WriteBytes(file, whole.substr(0, static_cast<std::size_t>(whole.size() * c.keptFraction)));
    return file;
  }
};

// What the control shows is what a full decode shows there, though only the
// control's part is decoded; and the whole picture when nothing limits it.
TEST_P(JpegDecodeTest, EveryShownPixelMatchesAFullDecode) {
  const DecodeCase& c = GetParam();
  TJPEGImage::SetDecodeToPalette(c.eightBitScreen);
  std::filesystem::path file = CaseFile();
  DecodedPicture expected = DecodeWithDjpeg(file, c.djpegOptions);

  // The control's own size, and an even width, whose last pixel needs the
  // chroma sample to its right.
  for (TSize control : {kControlSize, TSize{250, 200}}) {
    SCOPED_TRACE(control.Width);
    TJPEGImage limited;
    limited.SetVisibleLimit(control);
    limited.LoadFromFile(file.string());
    SurfaceCanvas window(337, 337);
    window.Fill(1, 2, 3);
    window.Canvas().SetClipRect(TRect::FromBounds(8, 8, control.Width, control.Height));
    ASSERT_EQ(DrawFailure(limited, window.Canvas(), 8, 8), "");
    int mismatches = 0;
    for (int y = 0; y < control.Height; ++y) {
      for (int x = 0; x < control.Width; ++x) mismatches += window.At(x + 8, y + 8) != expected.At(x, y);
    }
    EXPECT_EQ(mismatches, 0);
    std::array<std::uint8_t, 3> background{1, 2, 3};
    EXPECT_EQ(window.At(7, 8), background);
    EXPECT_EQ(window.At(8 + control.Width, 8 + control.Height - 1), background);
    EXPECT_EQ(window.At(8, 8 + control.Height), background);
  }

  TJPEGImage whole;
  whole.LoadFromFile(file.string());
  SurfaceCanvas canvas(expected.width, expected.height, SDL_PIXELFORMAT_RGB24);
  ASSERT_EQ(DrawFailure(whole, canvas.Canvas(), 0, 0), "");
  int mismatches = 0;
  for (int y = 0; y < expected.height; ++y) {
    for (int x = 0; x < expected.width; ++x) mismatches += canvas.At(x, y) != expected.At(x, y);
  }
  EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, JpegDecodeTest,
    ::testing::Values(DecodeCase{"Baseline420", "-quality 85 -sample 2x2", "-dct float", false, 1.0},
                      DecodeCase{"Baseline422", "-quality 85 -sample 2x1", "-dct float", false, 1.0},
                      DecodeCase{"Baseline444", "-quality 85 -sample 1x1", "-dct float", false, 1.0},
                      DecodeCase{"Progressive", "-quality 85 -progressive", "-dct float", false, 1.0},
                      DecodeCase{"Greyscale", "-quality 85 -grayscale", "-dct float -colors 236", false, 1.0},
                      DecodeCase{"EightBitScreen", "-quality 85", "-dct float -colors 236", true, 1.0},
                      DecodeCase{"TruncatedBaseline", "-quality 85", "-dct float", false, 0.5},
                      DecodeCase{"TruncatedProgressive", "-quality 85 -progressive", "-dct float", false, 0.4}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

struct HugeCase {
  const char* name;
  const char* cjpegOptions;
  bool eightBitScreen;
  int expectedError;  // 0 when the part shown decodes
};

void PrintTo(const HugeCase& c, std::ostream* out) { *out << c.name; }

class HugePictureTest : public JpegImageTest, public ::testing::WithParamInterface<HugeCase> {};

// A kilobyte that declares 65500 x 65500 pixels: the first paint stays quick
// and small, whether the part shown can be decoded alone or the codec runs out
// of the memory it is allowed.
TEST_P(HugePictureTest, DecodesQuicklyInBoundedMemory) {
  const HugeCase& c = GetParam();
  std::filesystem::path small = Picture(c.name, c.cjpegOptions, 48, 40);
  std::filesystem::path huge = scratch_.Path(std::string(c.name) + "-huge.jpg");
  WriteBytes(huge, WithFrameSize(ReadBytes(small), 65500, 65500));
  ASSERT_LT(std::filesystem::file_size(huge), 2048u);
  std::string expected = c.expectedError == 0 ? "" : "EJPEG: " + JpegErrorMessage(c.expectedError);

  EXPECT_EXIT(
      {
        LimitAddressSpaceToCurrentPlus(1LL << 30);
        long long start = MonotonicMilliseconds();
        TJPEGImage::SetDecodeToPalette(c.eightBitScreen);
        TJPEGImage image;
        image.SetVisibleLimit(kControlSize);
        image.LoadFromFile(huge.string());
        SurfaceCanvas window(337, 337);
        std::string failure = DrawFailure(image, window.Canvas(), 8, 8);
        long long elapsed = MonotonicMilliseconds() - start;
        bool ok = failure == expected && elapsed < 1000 && PeakResidentBytes() < (256LL << 20);
        std::fprintf(stderr, "failure '%s', %lld ms, peak %lld MiB\n", failure.c_str(),
                     elapsed,
                     PeakResidentBytes() >> 20);
        std::_Exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(Headers, HugePictureTest,
                         ::testing::Values(HugeCase{"Baseline", "-sample 2x2", false, 0},
                                           HugeCase{"Greyscale", "-grayscale", false, 0},
                                           HugeCase{"Progressive", "-progressive", false, JERR_NO_BACKING_STORE},
                                           HugeCase{"EightBitScreen", "-sample 2x2", true, JERR_NO_BACKING_STORE}),
                         [](const ::testing::TestParamInfo<HugeCase>& info) { return std::string(info.param.name); });

TEST_F(JpegImageTest, AFileTooLargeToHoldInMemoryRaisesAStreamError) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "AddressSanitizer aborts on a failed operator new instead of throwing";
#endif
  std::filesystem::path sparse = scratch_.Path("sparse.jpg");
  WriteBytes(sparse, "");
  std::filesystem::resize_file(sparse, 1LL << 30);
  EXPECT_EXIT(
      {
        LimitAddressSpaceToCurrentPlus(256LL << 20);
        TJPEGImage image;
        std::string failure = LoadFailure(image, sparse.string());
        std::fprintf(stderr, "%s\n", failure.c_str());
        std::_Exit(failure == "EStreamError: メモリストリームの拡大中にメモリが足りなくなりました" ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
