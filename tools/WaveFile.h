#pragma once

// Writes 16-bit mono PCM in a RIFF WAVE container: the chime shipped in "[]"
// and the small wave files that the sound tests play.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace wave_file {

inline void PutLittleEndian(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// `pcm` holds the samples as little-endian 16-bit bytes.
inline void WriteMonoWave16(const std::filesystem::path& file, std::uint32_t sampleRate,
                            const std::vector<char>& pcm) {
  std::ofstream out(file, std::ios::binary);
  out << "RIFF";
  PutLittleEndian(out, static_cast<std::uint32_t>(36 + pcm.size()), 4);
  out << "WAVEfmt ";
  PutLittleEndian(out, 16, 4);  // format chunk size
  PutLittleEndian(out, 1, 2);   // PCM
  PutLittleEndian(out, 1, 2);   // mono
  PutLittleEndian(out, sampleRate, 4);
  PutLittleEndian(out, sampleRate * 2, 4);  // bytes per second
  PutLittleEndian(out, 2, 2);               // bytes per frame
  PutLittleEndian(out, 16, 2);              // bits per sample
  out << "data";
  PutLittleEndian(out, static_cast<std::uint32_t>(pcm.size()), 4);
  out.write(pcm.data(), static_cast<std::streamsize>(pcm.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace wave_file
