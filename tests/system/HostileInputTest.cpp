// The program against what a careless or hostile setup hands it: a folder or
// a stub where the picture should be, a picture cut short or too large to
// hold, a wave file of noise, no sound card and no Japanese font. It neither crashes nor hangs,
// opens its window and reports exactly what it must, or nothing.

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "FrozenClock.h"
#include "ImageChecks.h"
#include "JpegTools.h"
#include "SketchFolder.h"
#include "SketchLayout.h"
#include "SketchSession.h"
#include "TestPattern.h"
#include "Waiting.h"

namespace {

constexpr milliseconds kSettle(400);
constexpr milliseconds kPaintTimeout(5000);
// Long enough for the chime to be asked for, on the second tick, many times over.
constexpr milliseconds kRunningOn(1000);
constexpr milliseconds kExitTimeout(5000);

int BoxesMapped(SketchSession& sketch) {
  int count = 0;
  for (const XClient::WindowChange& change : sketch.X().ChangeHistory()) {
    if (change.change == XClient::Change::Mapped && SketchSession::IsMessageBox(change.window)) ++count;
  }
  return count;
}

void ExpectEndsCleanlyOnTerminate(SketchSession& sketch) {
  sketch.Program().Signal(SIGTERM);
  std::optional<int> code = sketch.Program().WaitForExit(kExitTimeout);
  ASSERT_TRUE(code) << "still running after SIGTERM";
  EXPECT_EQ(*code, 0) << "standard error: " << sketch.ErrorOutput();
}

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The same noise on every run, so that a failure can be repeated.
std::string Noise(std::size_t size) {
  std::mt19937 generator(5422493);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string bytes(size, '\0');
  for (char& b : bytes) b = static_cast<char>(byte(generator));
  return bytes;
}

void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

// ---- Pictures that cannot be loaded: the box first, then the window.

struct UnloadablePictureCase {
  std::string name;
  std::function<void(const SketchFolder&)> prepare;
  rlim_t addressSpaceLimit = RLIM_INFINITY;
};

// Far more than the program needs to run, far less than the picture.
constexpr rlim_t kAddressSpaceLimit = 1ULL << 30;
constexpr std::uintmax_t kPictureBeyondTheLimit = 4ULL << 30;

// Holes read as zeros; the disk holds none of it.
void WriteSparsePicture(const SketchFolder& folder, std::uintmax_t size) {
  folder.WritePictureBytes("");
  std::filesystem::resize_file(folder.PicturePath(), size);
}

void PrintTo(const UnloadablePictureCase& c, std::ostream* out) { *out << c.name; }

const UnloadablePictureCase kUnloadablePictures[] = {
    // A directory opens for reading on Linux; it is still no file to load.
    {"DirectoryInItsPlace", [](const SketchFolder& f) { std::filesystem::create_directory(f.PicturePath()); }},
    // One byte has no start-of-image marker, whether or not it begins one.
    {"OneByte", [](const SketchFolder& f) { f.WritePictureBytes("J"); }},
    {"OneByteOfAMarker", [](const SketchFolder& f) { f.WritePictureBytes("\xff"); }},
    // Too large to be held in memory: a stream error, not a crash.
    {"LargerThanTheMemoryItMayUse", [](const SketchFolder& f) { WriteSparsePicture(f, kPictureBeyondTheLimit); },
     kAddressSpaceLimit},
};

class HostilePictureTest : public testing::TestWithParam<UnloadablePictureCase> {};

TEST_P(HostilePictureTest, BoxComesBeforeTheWindowThenTheWindowOpens) {
#ifdef __SANITIZE_ADDRESS__
  // The sanitizer's shadow memory alone is far beyond any such limit.
  if (GetParam().addressSpaceLimit != RLIM_INFINITY) GTEST_SKIP() << "an address space limit under AddressSanitizer";
#endif
  SketchFolder folder;
  GetParam().prepare(folder);
  SketchSession::Options options;
  options.addressSpaceLimit = GetParam().addressSpaceLimit;
  SketchSession sketch(folder, options);

  std::optional<XClient::WindowInfo> box = sketch.WaitForMessageBox();
  ASSERT_TRUE(box) << "no message box; standard error: " << sketch.ErrorOutput();
  Pause(kSettle);
  EXPECT_FALSE(sketch.MainWindow()) << "the window is up while the start-up error is shown";

  sketch.Input().TypeKey(box->id, XK_Return);
  ASSERT_TRUE(sketch.WaitForMainWindow()) << "the window did not open after the box";
  Pause(kSettle);
  EXPECT_FALSE(sketch.MessageBox()) << "a second box";
  EXPECT_EQ(BoxesMapped(sketch), 1);
  EXPECT_TRUE(sketch.Program().Running());
}

INSTANTIATE_TEST_SUITE_P(Pictures, HostilePictureTest, testing::ValuesIn(kUnloadablePictures),
                         [](const testing::TestParamInfo<UnloadablePictureCase>& info) { return info.param.name; });

// ---- A picture cut short: what was read shows, and nothing is reported.

TEST(HostileTruncatedPictureTest, ShowsTheRowsThatArePresentWithoutAReport) {
  SketchFolder folder;
  folder.WritePicture(MakeTestPattern(kPictureArea.width, kPictureArea.height), {"-quality", "85"});
  RgbImage expected = ClientWithPicture(DecodeJpeg(folder.PicturePath(), {"-dct", "float"}));
  std::string whole = ReadBytes(folder.PicturePath());
  folder.WritePictureBytes(whole.substr(0, whole.size() / 2));
  SketchSession sketch(folder);
  ASSERT_TRUE(sketch.WaitForMainWindow()) << "standard error: " << sketch.ErrorOutput();

  // Below the title line and well above where the data runs out.
  const Area topRows{kPictureArea.x, kTitleArea.y + kTitleArea.height, kPictureArea.width, 48};
  RgbImage shown;
  std::vector<PixelAt> differences;
  WaitUntil(
      [&] {
        shown = sketch.CaptureClient();
        differences = Differences(shown, expected, topRows);
        return differences.empty();
      },
      kPaintTimeout);
  EXPECT_TRUE(differences.empty()) << Describe(differences, shown, expected);
  Pause(kSettle);
  EXPECT_EQ(BoxesMapped(sketch), 0);
  EXPECT_TRUE(sketch.MainWindow());
  EXPECT_TRUE(sketch.Program().Running());
}

// ---- The chime going wrong: never reported, the program runs on.

void PutLittleEndian(std::string& bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A well-formed 16-bit mono PCM header whose data chunk claims far more than the
// noise that follows it.
std::string WaveHeaderOverNoise() {
  std::string bytes = "RIFF";
  PutLittleEndian(bytes, 0xFFFFFFF0, 4);
  bytes += "WAVEfmt ";
  PutLittleEndian(bytes, 16, 4);
  PutLittleEndian(bytes, 1, 2);  // PCM
  PutLittleEndian(bytes, 1, 2);  // mono
  PutLittleEndian(bytes, 44100, 4);
  PutLittleEndian(bytes, 88200, 4);  // bytes per second
  PutLittleEndian(bytes, 2, 2);  // bytes per frame
  PutLittleEndian(bytes, 16, 2);
  bytes += "data";
  PutLittleEndian(bytes, 0xFFFFFFC0, 4);
  return bytes + Noise(1001);
}

std::filesystem::path WavePath(const SketchFolder& folder) { return folder.Root() / "[]" / "r1.wav"; }

struct SilentChimeCase {
  std::string name;
  // Writes what the case needs and gives the program's extra environment.
  std::function<std::vector<std::string>(const SketchFolder&)> prepare;
};

void PrintTo(const SilentChimeCase& c, std::ostream* out) { *out << c.name; }

const SilentChimeCase kSilentChimes[] = {
    {"WaveOfRandomBytes",
     [](const SketchFolder& f) {
       WriteFile(WavePath(f), Noise(4096));
       return std::vector<std::string>{};
     }},
    {"WaveHeaderOverTooLittleData",
     [](const SketchFolder& f) {
       WriteFile(WavePath(f), WaveHeaderOverNoise());
       return std::vector<std::string>{};
     }},
    // A sound file, and no device to play it on: ALSA with an empty
    // configuration knows of none, and naming "alsa" keeps SDL from falling
    // back on its silent driver.
    {"NoSoundCard",
     [](const SketchFolder& f) {
       f.WriteChime();
       std::filesystem::path noDevices = f.ScratchPath("asound.conf");
       WriteFile(noDevices, "");
       return std::vector<std::string>{"SDL_AUDIODRIVER=alsa", "ALSA_CONFIG_PATH=" + noDevices.string()};
     }},
};

class HostileChimeTest : public testing::TestWithParam<SilentChimeCase> {};

TEST_P(HostileChimeTest, NothingIsReportedAndTheProgramRunsOn) {
  // At UTC midnight the seed is 0 and the chime is asked for on the second tick.
  std::optional<std::vector<std::string>> environment = FrozenClockAt("00:00:00");
  if (!environment) GTEST_SKIP() << "libfaketime is not installed";
  SketchFolder folder;
  folder.WritePicture(MakeTestPattern(kPictureArea.width, kPictureArea.height), {});
  std::vector<std::string> extra = GetParam().prepare(folder);
  environment->insert(environment->end(), extra.begin(), extra.end());
  SketchSession::Options options;
  options.environment = *environment;
  SketchSession sketch(folder, options);

  ASSERT_TRUE(sketch.WaitForMainWindow()) << "standard error: " << sketch.ErrorOutput();
  Pause(kRunningOn);
  EXPECT_EQ(BoxesMapped(sketch), 0);
  ASSERT_TRUE(sketch.Program().Running()) << "standard error: " << sketch.ErrorOutput();
  ExpectEndsCleanlyOnTerminate(sketch);
}

INSTANTIATE_TEST_SUITE_P(Chimes, HostileChimeTest, testing::ValuesIn(kSilentChimes),
                         [](const testing::TestParamInfo<SilentChimeCase>& info) { return info.param.name; });

// ---- No Japanese face: the window opens all the same, scaled to the face
// that stands in.

const std::filesystem::path kDejaVuFolder = "/usr/share/fonts/truetype/dejavu";

void WriteFontConfiguration(const std::filesystem::path& file, const std::filesystem::path& fontFolder) {
  WriteFile(file,
            "<?xml version=\"1.0\"?>\n"
            "<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
            "<fontconfig>\n"
            "  <dir>" + fontFolder.string() + "</dir>\n"
            "</fontconfig>\n");
}

TEST(HostileFontTest, WindowOpensSquareWithoutAReport) {
  if (!std::filesystem::is_directory(kDejaVuFolder)) GTEST_SKIP() << kDejaVuFolder << " is not installed";
  SketchFolder folder;
  folder.WritePicture(MakeTestPattern(kPictureArea.width, kPictureArea.height), {});
  std::filesystem::path configuration = folder.ScratchPath("fonts.conf");
  WriteFontConfiguration(configuration, kDejaVuFolder);
  SketchSession::Options options;
  options.environment = {"FONTCONFIG_FILE=" + configuration.string()};
  SketchSession sketch(folder, options);

  std::optional<XClient::WindowInfo> window = sketch.WaitForMainWindow();
  ASSERT_TRUE(window) << "standard error: " << sketch.ErrorOutput();
  Pause(kSettle);
  EXPECT_EQ(BoxesMapped(sketch), 0);
  // Grown or kept by the height of "0" in the stand-in face, but square.
  EXPECT_EQ(window->width, window->height);
  EXPECT_GE(window->width, kClientSize);
  EXPECT_TRUE(sketch.Program().Running());
}

}  // namespace
