// The time label and the chime with the program's wall clock stopped: the
// streak is as wide as the text of that time of day, and the chime starts on
// the tick that the seed from the clock decides.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

// The program opens its sound device at 44.1 kHz, 16-bit stereo; SDL's disk
// driver writes what it plays to a file at the pace of a real device, silence
// included, so a position in the file is a time since the device opened.
constexpr int kFramesPerSecond = 44100;
constexpr int kBytesPerFrame = 4;
constexpr double kAudioNeeded = 1.5;  // seconds
constexpr milliseconds kAudioTimeout(8000);
// Ticks come every 60 ms from about when the device opens: the second tick
// is near 0.12 s, the ninth near 0.54 s.
constexpr double kEarlyLimit = 0.3;  // seconds
constexpr int kAudible = 1000;

std::vector<char> ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Seconds into the file of the first sample that is not silence.
std::optional<double> FirstSoundAt(const std::vector<char>& audio) {
  for (std::size_t i = 0; i + 1 < audio.size(); i += 2) {
    auto sample = static_cast<std::int16_t>(static_cast<std::uint8_t>(audio[i]) |
                                            static_cast<std::uint8_t>(audio[i + 1]) << 8);
    if (std::abs(sample) > kAudible) return static_cast<double>(i / kBytesPerFrame) / kFramesPerSecond;
  }
  return std::nullopt;
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

  const auto needed = static_cast<std::uintmax_t>(kAudioNeeded * kFramesPerSecond * kBytesPerFrame);
  ASSERT_TRUE(WaitUntil(
      [&] {
        std::error_code missing;
        std::uintmax_t size = std::filesystem::file_size(audioFile, missing);
        return !missing && size >= needed;
      },
      kAudioTimeout))
      << "the sound device wrote too little";
  std::optional<double> first = FirstSoundAt(ReadAll(audioFile));
  ASSERT_TRUE(first) << "no chime in the first " << kAudioNeeded << " s";
  if (GetParam().early) {
    EXPECT_LT(*first, kEarlyLimit);
  } else {
    EXPECT_GE(*first, kEarlyLimit);
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ChimeTest, testing::ValuesIn(kChimes),
                         [](const testing::TestParamInfo<ChimeCase>& info) { return info.param.name; });

}  // namespace
