#include "Waiting.h"

#include <thread>

namespace {

constexpr milliseconds kPollInterval(5);

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
}

void Pause(milliseconds duration) { std::this_thread::sleep_for(duration); }
