#include "SketchFolder.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <stdexcept>

#include "JpegTools.h"

namespace {

constexpr int kSampleRate = 44100;
constexpr double kChimeSeconds = 0.4;
constexpr double kChimeHertz = 660.0;
constexpr double kChimeAmplitude = 20000.0;

void PutLittleEndian(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

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

// 16-bit mono PCM in a RIFF WAVE container.
void SketchFolder::WriteChime() const {
  const auto samples = static_cast<std::uint32_t>(kSampleRate * kChimeSeconds);
  const std::uint32_t dataBytes = samples * 2;
  std::ofstream out(root_ / "[]" / "r1.wav", std::ios::binary);
  out << "RIFF";
  PutLittleEndian(out, 36 + dataBytes, 4);
  out << "WAVEfmt ";
  PutLittleEndian(out, 16, 4);  // format chunk size
  PutLittleEndian(out, 1, 2);  // PCM
  PutLittleEndian(out, 1, 2);  // mono
  PutLittleEndian(out, kSampleRate, 4);
  PutLittleEndian(out, kSampleRate * 2, 4);  // bytes per second
  PutLittleEndian(out, 2, 2);  // bytes per frame
  PutLittleEndian(out, 16, 2);  // bits per sample
  out << "data";
  PutLittleEndian(out, dataBytes, 4);
  for (std::uint32_t i = 0; i < samples; ++i) {
    double value = kChimeAmplitude * std::sin(2 * std::numbers::pi * kChimeHertz * i / kSampleRate);
    PutLittleEndian(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value))), 2);
  }
  if (!out) throw std::runtime_error("cannot write the chime");
}
