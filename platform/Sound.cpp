#include "Sound.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "FilePath.h"

namespace {

// The audio device is opened, and every file read, on a thread of its own, so
// that the caller never waits on the device or the disk.
class SoundPlayer {
 public:
  SoundPlayer() : worker_([this] { Run(); }) {}
  ~SoundPlayer() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_one();
    worker_.join();
  }

  void Play(const std::string& fileName) {
    {
      std::lock_guard lock(mutex_);
      request_ = fileName;  // only the newest request matters
    }
    wake_.notify_one();
  }

 private:
  void Run() {
    bool open = OpenDevice();
    while (std::optional<std::string> fileName = NextRequest()) {
      if (open) Start(*fileName);
    }
    if (open) CloseDevice();
    // SDL keeps per-thread error text for threads it did not start.
    SDL_TLSCleanup();
  }

  std::optional<std::string> NextRequest() {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return stopping_ || request_; });
    if (stopping_) return std::nullopt;
    return std::exchange(request_, std::nullopt);
  }

  static bool OpenDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    Mix_AllocateChannels(1);
    return true;
  }

  void CloseDevice() {
    Mix_HaltChannel(-1);
    if (chunk_) Mix_FreeChunk(chunk_);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  // One channel: the new chime cuts off the one still playing.
  void Start(const std::string& fileName) {
    Mix_HaltChannel(0);
    if (chunk_) Mix_FreeChunk(chunk_);
    chunk_ = Mix_LoadWAV(FileSystemPath(fileName).c_str());
    if (chunk_) Mix_PlayChannel(0, chunk_, 0);
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<std::string> request_;
  bool stopping_ = false;
  Mix_Chunk* chunk_ = nullptr;
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
