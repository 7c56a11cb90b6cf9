// The time label and the chime with the program's wall clock stopped: the
// streak is as wide as the text of that time of day, and the chime starts on
// the tick that the seed from the clock decides.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "FrozenClock.h"
#include "PaintedSketch.h"
#include "SketchFolder.h"
#include "SketchLayout.h"
#include "SketchSession.h"
#include "TestPattern.h"
#include "Waiting.h"

namespace {

constexpr milliseconds kFirstTickTimeout(3000);
// Several ticks, to see the streak keep its text.
constexpr milliseconds kSeveralTicks(250);

struct StreakCase {
  std::string name;
  std::string utcTimeOfDay;
  std::string text;  // what the label must show then
  // The width of that text in the 3-pixel font: about two pixels a character.
  int minWidth;
  int maxWidth;
};

void PrintTo(const StreakCase& c, std::ostream* out) { *out << c.utcTimeOfDay << " shows " << c.text; }

const StreakCase kStreaks[] = {
    {"Midnight", "00:00:00", "0", 1, 3},
    {"Noon", "12:00:00", "0.5", 3, 8},
    {"Afternoon", "12:34:56", "0.524259259259259", 25, 45},
};

class StreakTest : public testing::TestWithParam<StreakCase> {};

TEST_P(StreakTest, IsAsWideAsTheTimeOfDayText) {
  std::optional<std::vector<std::string>> frozen = FrozenClockAt(GetParam().utcTimeOfDay);
  if (!frozen) GTEST_SKIP() << "libfaketime is not installed";
  PaintedSketch sketch(*frozen);
  ASSERT_TRUE(sketch.Ready()) << sketch.Problem();

  std::vector<PixelAt> streak;
  ASSERT_TRUE(WaitUntil([&] { return !(streak = sketch.Ink(kFlashArea)).empty(); }, kFirstTickTimeout))
      << "no time label";
  int width = ExtentFrom(kFlashLeft, streak);
  EXPECT_GE(width, GetParam().minWidth);
  EXPECT_LE(width, GetParam().maxWidth);
  // The clock stands still, so every tick writes the same text.
  Pause(kSeveralTicks);
  EXPECT_EQ(ExtentFrom(kFlashLeft, sketch.Ink(kFlashArea)), width) << "the streak changed";
}

INSTANTIATE_TEST_SUITE_P(TimesOfDay, StreakTest, testing::ValuesIn(kStreaks),
                         [](const testing::TestParamInfo<StreakCase>& info) { return info.param.name; });

// The program opens its sound device at the first chime, in the wave file's
// own format, and SDL's disk driver then writes what it plays to a file at the
// pace of a real device. So the file appears when the chime is asked for, and
// it begins with the chime.
constexpr milliseconds kAudioTimeout(8000);
// Ticks come every 60 ms once the window is up, the first one at once or
// within 60 ms: the second tick is at most 0.12 s after it, the ninth at least
// 0.48 s (less the moment the test takes to see the window).
constexpr double kEarlyLimit = 0.3;  // seconds
// The device starts playing within a buffer or two of opening.
constexpr double kChimeStartLimit = 0.1;  // seconds
constexpr int kAudible = 1000;

std::vector<char> ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t LittleEndianAt(const std::vector<char>& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

// The format of 16-bit PCM audio, as the wave file's header gives it.
struct AudioFormat {
  int framesPerSecond;
  int bytesPerFrame;

  double SecondsAt(std::size_t byte) const { return static_cast<double>(byte / bytesPerFrame) / framesPerSecond; }
  std::size_t BytesFor(double seconds) const {
    return static_cast<std::size_t>(seconds * framesPerSecond) * bytesPerFrame;
  }
};

// From the canonical 44-byte header: "RIFF", size, "WAVE", then the format chunk.
std::optional<AudioFormat> WaveFormatOf(const std::filesystem::path& wave) {
  std::vector<char> bytes = ReadAll(wave);
  if (bytes.size() < 44 || std::string(bytes.begin() + 8, bytes.begin() + 16) != "WAVEfmt ") return std::nullopt;
  if (LittleEndianAt(bytes, 34, 2) != 16) return std::nullopt;  // bits per sample
  return AudioFormat{static_cast<int>(LittleEndianAt(bytes, 24, 4)), static_cast<int>(LittleEndianAt(bytes, 32, 2))};
}

// Seconds into the audio of the first sample that is not silence.
std::optional<double> FirstSoundAt(const std::vector<char>& audio, const AudioFormat& format) {
  for (std::size_t i = 0; i + 1 < audio.size(); i += 2) {
    auto sample = static_cast<std::int16_t>(LittleEndianAt(audio, i, 2));
    if (std::abs(sample) > kAudible) return format.SecondsAt(i);
  }
  return std::nullopt;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct ChimeCase {
  std::string name;
  std::string utcTimeOfDay;  // the seed is its milliseconds since UTC midnight
  bool early;  // whether the chime's tick comes before kEarlyLimit
};

void PrintTo(const ChimeCase& c, std::ostream* out) { *out << "seeded at " << c.utcTimeOfDay; }

const ChimeCase kChimes[] = {
    // Seed 0 draws 0, 1, ...: the chime on the second tick.
    {"SecondTickAtMidnight", "00:00:00", true},
    // Seed 43200000 draws 18, 21, 38, 12, 20, 35, 25, 7, 1, ...: the ninth.
    {"NinthTickAtNoon", "12:00:00", false},
};

class ChimeTest : public testing::TestWithParam<ChimeCase> {};

TEST_P(ChimeTest, StartsOnTheTickThatTheSeedGives) {
  std::optional<std::vector<std::string>> environment = FrozenClockAt(GetParam().utcTimeOfDay);
  if (!environment) GTEST_SKIP() << "libfaketime is not installed";
  SketchFolder folder;
  folder.WritePicture(MakeTestPattern(kPictureArea.width, kPictureArea.height), {});
  folder.WriteChime();
  std::filesystem::path audioFile = folder.ScratchPath("audio.raw");
  environment->push_back("SDL_AUDIODRIVER=disk");
  environment->push_back("SDL_DISKAUDIOFILE=" + audioFile.string());
  SketchSession::Options options;
  options.environment = *environment;
  SketchSession sketch(folder, options);
  ASSERT_TRUE(sketch.WaitForMainWindow());
  const auto shown = std::chrono::steady_clock::now();

  std::error_code error;
  ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(audioFile, error); }, kAudioTimeout))
      << "no chime: the sound device never opened";
  const double askedFor = SecondsSince(shown);
  if (GetParam().early) {
    EXPECT_LT(askedFor, kEarlyLimit);
  } else {
    EXPECT_GE(askedFor, kEarlyLimit);
  }

  std::optional<AudioFormat> format = WaveFormatOf(folder.Root() / "[]" / "r1.wav");
  ASSERT_TRUE(format) << "the chime written is not 16-bit PCM";
  const std::size_t needed = format->BytesFor(2 * kChimeStartLimit);
  ASSERT_TRUE(WaitUntil(
      [&] {
        std::uintmax_t size = std::filesystem::file_size(audioFile, error);
        return !error && size >= needed;
      },
      kAudioTimeout))
      << "the sound device wrote too little";
  std::optional<double> first = FirstSoundAt(ReadAll(audioFile), *format);
  ASSERT_TRUE(first) << "the device played silence";
  EXPECT_LT(*first, kChimeStartLimit);
}

INSTANTIATE_TEST_SUITE_P(Seeds, ChimeTest, testing::ValuesIn(kChimes),
                         [](const testing::TestParamInfo<ChimeCase>& info) { return info.param.name; });

}  // namespace
