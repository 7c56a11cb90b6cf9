#include "SketchFolder.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "JpegTools.h"
#include "tools/WaveFile.h"

namespace {

constexpr int kSampleRate = 44100;
constexpr double kChimeSeconds = 0.4;
constexpr double kChimeHertz = 660.0;
constexpr double kChimeAmplitude = 20000.0;

}  // namespace

SketchFolder::SketchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "sketch-system-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
  root_ = pattern;
  std::filesystem::create_directory(root_ / "[]");
}

SketchFolder::~SketchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::filesystem::path SketchFolder::PicturePath() const { return root_ / "[]" / "sketch5422493.jpg"; }

void SketchFolder::WritePicture(const RgbImage& picture, const std::vector<std::string>& cjpegOptions) const {
  EncodeJpeg(picture, cjpegOptions, PicturePath());
}

void SketchFolder::WritePictureBytes(const std::string& bytes) const {
  std::ofstream out(PicturePath(), std::ios::binary);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write the picture");
}

// A plain tone, loud enough to tell from silence.
void SketchFolder::WriteChime() const {
  const auto samples = static_cast<std::uint32_t>(kSampleRate * kChimeSeconds);
  std::vector<char> pcm;
  pcm.reserve(samples * 2);
  for (std::uint32_t i = 0; i < samples; ++i) {
    double value = kChimeAmplitude * std::sin(2 * std::numbers::pi * kChimeHertz * i / kSampleRate);
    auto sample = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value)));
    pcm.push_back(static_cast<char>(sample & 0xFF));
    pcm.push_back(static_cast<char>(sample >> 8));
  }
  wave_file::WriteMonoWave16(root_ / "[]" / "r1.wav", kSampleRate, pcm);
}
