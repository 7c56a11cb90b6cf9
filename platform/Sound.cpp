#include "Sound.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "FilePath.h"

namespace {

// Frames per device buffer: small enough that a chime starts without a
// noticeable delay, large enough that the device thread rarely wakes.
constexpr Uint16 kBufferFrames = 1024;

// A wave file read into memory, with the format it is in.
class WaveData {
 public:
  // Empty when the file is missing, not a regular file, or not a wave file
  // that SDL can read. A FIFO or device under that name would block the read.
  explicit WaveData(const std::string& fileName) {
    std::string path = FileSystemPath(fileName);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return;
    if (!SDL_LoadWAV(path.c_str(), &spec_, &bytes_, &length_)) bytes_ = nullptr;
  }
  ~WaveData() { SDL_FreeWAV(bytes_); }
  WaveData(const WaveData&) = delete;
  WaveData& operator=(const WaveData&) = delete;

  bool Playable() const { return bytes_ && length_ > 0; }
  const SDL_AudioSpec& Format() const { return spec_; }
  const Uint8* Bytes() const { return bytes_; }
  Uint32 Length() const { return length_; }

 private:
  SDL_AudioSpec spec_{};
  Uint8* bytes_ = nullptr;
  Uint32 length_ = 0;
};

bool SameFormat(const SDL_AudioSpec& a, const SDL_AudioSpec& b) {
  return a.freq == b.freq && a.format == b.format && a.channels == b.channels;
}

// The device is opened at a chime, in the chime's own format, and closed again
// once the chime has played out: SDL's device thread keeps waking even while
// paused, so between chimes no device is open at all. Opening, closing and
// every file read happen on a thread of the player's own, so that the caller
// never waits on the device or the disk.
class SoundPlayer {
 public:
  // SDL's subsystems are started and stopped on the main thread, which is the
  // one that makes and destroys the player.
  SoundPlayer() : audioReady_(SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
    if (audioReady_) worker_ = std::thread([this] { Run(); });
  }

  ~SoundPlayer() {
    if (!audioReady_) return;
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_one();
    worker_.join();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  void Play(const std::string& fileName) {
    if (!audioReady_) return;
    {
      std::lock_guard lock(mutex_);
      request_ = fileName;  // only the newest request matters
    }
    wake_.notify_one();
  }

 private:
  void Run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
      if (request_) {
        std::string fileName = *std::exchange(request_, std::nullopt);
        lock.unlock();
        Start(fileName);
        lock.lock();
      } else if (!device_) {
        wake_.wait(lock);
      } else if (std::optional<Uint32> left = MillisecondsLeft()) {
        wake_.wait_for(lock, std::chrono::milliseconds(*left));
      } else {
        lock.unlock();
        CloseDevice();
        lock.lock();
      }
    }
    lock.unlock();
    CloseDevice();
    // SDL keeps per-thread error text for threads it did not start.
    SDL_TLSCleanup();
  }

  // A new chime cuts off the one still playing and starts from the beginning.
  void Start(const std::string& fileName) {
    WaveData wave(fileName);
    if (!wave.Playable()) return;
    if (device_ && !SameFormat(deviceSpec_, wave.Format())) CloseDevice();
    if (!device_ && !OpenDevice(wave.Format())) return;
    SDL_ClearQueuedAudio(device_);
    if (SDL_QueueAudio(device_, wave.Bytes(), wave.Length()) != 0) return;
    SDL_PauseAudioDevice(device_, 0);
  }

  bool OpenDevice(const SDL_AudioSpec& format) {
    SDL_AudioSpec wanted = format;
    wanted.samples = kBufferFrames;
    wanted.callback = nullptr;  // fed with SDL_QueueAudio
    // No changes allowed: SDL converts to whatever the hardware takes.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &deviceSpec_, 0);
    return device_ != 0;
  }

  void CloseDevice() {
    if (!device_) return;
    SDL_CloseAudioDevice(device_);
    device_ = 0;
  }

  // How long the queued sound still plays; none once the queue has drained.
  // SDL lets the device's own buffer play out when the device is closed.
  std::optional<Uint32> MillisecondsLeft() const {
    Uint32 queued = SDL_GetQueuedAudioSize(device_);
    if (queued == 0) return std::nullopt;
    std::uint64_t bytesPerSecond = static_cast<std::uint64_t>(deviceSpec_.freq) * deviceSpec_.channels *
                                   SDL_AUDIO_BITSIZE(deviceSpec_.format) / 8;
    std::uint64_t bufferMilliseconds = std::uint64_t{1000} * deviceSpec_.samples / deviceSpec_.freq;
    // Never less than one buffer: the queue drains a buffer at a time.
    return static_cast<Uint32>(std::max(std::uint64_t{1000} * queued / bytesPerSecond, bufferMilliseconds) + 1);
  }

  const bool audioReady_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<std::string> request_;
  bool stopping_ = false;
  // Touched on the worker thread only.
  SDL_AudioDeviceID device_ = 0;
  SDL_AudioSpec deviceSpec_{};
  std::thread worker_;
};

std::optional<SoundPlayer>& Player() {
  static std::optional<SoundPlayer> player;
  return player;
}

}  // namespace

void StartSoundPlayer() {
  if (!Player()) Player().emplace();
}

void PlaySoundAsync(const std::string& fileName) {
  StartSoundPlayer();
  Player()->Play(fileName);
}

void StopSoundPlayer() { Player().reset(); }
