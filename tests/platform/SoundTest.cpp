// The chime player against SDL's disk audio driver, which writes whatever the
// device plays to a file: what reaches the file, when the device opens, and
// that bad files neither block nor stop later sounds.

#include <SDL2/SDL.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/Sound.h"
#include "tools/WaveFile.h"

namespace {

constexpr int kSampleRate = 8000;
constexpr Uint64 kTimeoutMs = 5000;
// Enough of a tone's start to tell it from anything else in the file.
constexpr std::size_t kOpeningBytes = 256;

// 16-bit mono samples, never silent, that repeat only after 30011 of them,
// longer than any tone here.
std::vector<char> ToneBytes(int samples) {
  std::vector<char> bytes;
  for (int i = 0; i < samples; ++i) {
    auto sample = static_cast<std::uint16_t>(1000 + (i * 37) % 30011);
    bytes.push_back(static_cast<char>(sample & 0xFF));
    bytes.push_back(static_cast<char>(sample >> 8));
  }
  return bytes;
}

void WriteWave(const std::filesystem::path& file, const std::vector<char>& data) {
  wave_file::WriteMonoWave16(file, kSampleRate, data);
}

bool WaitFor(const std::function<bool()>& condition) {
  const Uint64 deadline = SDL_GetTicks64() + kTimeoutMs;
  while (!condition()) {
    if (SDL_GetTicks64() >= deadline) return false;
    SDL_Delay(5);
  }
  return true;
}

// Where each copy of the pattern starts in the data.
std::vector<std::size_t> FindAll(const std::vector<char>& data, const std::vector<char>& pattern) {
  std::vector<std::size_t> found;
  for (auto at = data.begin();
       (at = std::search(at, data.end(), pattern.begin(), pattern.end())) != data.end(); ++at) {
    found.push_back(static_cast<std::size_t>(at - data.begin()));
  }
  return found;
}

class SoundTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "sound-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    std::filesystem::create_directory(root_ / "[]");
    if (const char* driver = std::getenv("SDL_AUDIODRIVER")) savedDriver_ = driver;
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", AudioFile().c_str(), 1);
  }

  void TearDown() override {
    StopSoundPlayer();
    if (savedDriver_) {
      setenv("SDL_AUDIODRIVER", savedDriver_->c_str(), 1);
    } else {
      unsetenv("SDL_AUDIODRIVER");
    }
    unsetenv("SDL_DISKAUDIOFILE");
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  std::filesystem::path AudioFile() const { return root_ / "played.raw"; }
  std::filesystem::path FolderFile(const std::string& name) const { return root_ / "[]" / name; }
  // The name as the piece gives it, with "\" before the file name.
  std::string SoundName(const std::string& name) const { return (root_ / "[]").string() + "\\" + name; }

  std::vector<char> Played() const {
    std::ifstream in(AudioFile(), std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  bool WaitUntilPlayed(const std::vector<char>& pattern, std::size_t copies) {
    return WaitFor([&] { return FindAll(Played(), pattern).size() >= copies; });
  }

 private:
  std::filesystem::path root_;
  std::optional<std::string> savedDriver_;
};

TEST_F(SoundTest, PlaysTheWholeWaveFileInItsOwnFormat) {
  std::vector<char> tone = ToneBytes(kSampleRate / 4);
  WriteWave(FolderFile("r1.wav"), tone);
  StartSoundPlayer();
  EXPECT_FALSE(std::filesystem::exists(AudioFile())) << "the device opened before any sound";

  PlaySoundAsync(SoundName("r1.wav"));
  // Byte for byte: the device took the file's own rate, width and channels.
  EXPECT_TRUE(WaitUntilPlayed(tone, 1)) << "the tone did not reach the device whole";
}

TEST_F(SoundTest, ANewSoundCutsOffTheOneStillPlaying) {
  std::vector<char> tone = ToneBytes(kSampleRate * 3);
  std::vector<char> opening(tone.begin(), tone.begin() + kOpeningBytes);
  WriteWave(FolderFile("r1.wav"), tone);

  PlaySoundAsync(SoundName("r1.wav"));
  ASSERT_TRUE(WaitUntilPlayed(opening, 1)) << "the first tone did not start";
  PlaySoundAsync(SoundName("r1.wav"));
  ASSERT_TRUE(WaitUntilPlayed(opening, 2)) << "the second tone did not start";

  std::vector<std::size_t> starts = FindAll(Played(), opening);
  EXPECT_LT(starts[1] - starts[0], tone.size()) << "the first tone played to its end";
}

struct BadSoundCase {
  std::string name;
  std::function<void(const std::filesystem::path&)> make;  // leaves the file missing when empty
};

void PrintTo(const BadSoundCase& c, std::ostream* out) { *out << c.name; }

class BadSoundTest : public SoundTest, public testing::WithParamInterface<BadSoundCase> {};

// A bad file plays nothing, and the next good one still plays: the player is
// not stuck on it (a FIFO would block a read until someone writes to it).
TEST_P(BadSoundTest, PlaysNothingAndLetsTheNextSoundPlay) {
  if (GetParam().make) GetParam().make(FolderFile("bad.wav"));
  std::vector<char> tone = ToneBytes(kSampleRate / 10);
  WriteWave(FolderFile("r1.wav"), tone);

  PlaySoundAsync(SoundName("bad.wav"));
  SDL_Delay(200);
  EXPECT_FALSE(std::filesystem::exists(AudioFile())) << "the device opened for a bad file";
  PlaySoundAsync(SoundName("r1.wav"));
  EXPECT_TRUE(WaitUntilPlayed(tone, 1)) << "the good file did not play after the bad one";

  // Should a read have got stuck on a FIFO, a writer lets it go.
  int writer = open(FolderFile("bad.wav").c_str(), O_WRONLY | O_NONBLOCK);
  if (writer >= 0) close(writer);
}

const BadSoundCase kBadSounds[] = {
    {"Missing", nullptr},
    {"NotAWaveFile", [](const std::filesystem::path& file) { std::ofstream(file) << "not a wave file"; }},
    {"EmptyFile", [](const std::filesystem::path& file) { std::ofstream{file}; }},
    {"Folder", [](const std::filesystem::path& file) { std::filesystem::create_directory(file); }},
    {"Fifo", [](const std::filesystem::path& file) { ASSERT_EQ(mkfifo(file.c_str(), 0600), 0); }},
};

INSTANTIATE_TEST_SUITE_P(Files, BadSoundTest, testing::ValuesIn(kBadSounds),
                         [](const testing::TestParamInfo<BadSoundCase>& info) { return info.param.name; });

TEST_F(SoundTest, WithoutAnAudioDriverNothingPlaysAndNothingFails) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  WriteWave(FolderFile("r1.wav"), ToneBytes(kSampleRate / 10));
  PlaySoundAsync(SoundName("r1.wav"));
  StopSoundPlayer();
  EXPECT_FALSE(std::filesystem::exists(AudioFile()));
}

}  // namespace
