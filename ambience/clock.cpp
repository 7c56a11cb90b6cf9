#include "ambience/clock.h"

#include <algorithm>
#include <ctime>

namespace {

constexpr int kLastOrdinarySecond = 59;
constexpr long kNanosecondsPerMillisecond = 1000000;

using BrokenDownTime = std::tm* (*)(const std::time_t*, std::tm*);

int ReadMillisecondsOfDay(BrokenDownTime breakDown) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm fields{};
  breakDown(&now.tv_sec, &fields);
  return MillisecondsOfDay(fields.tm_hour, fields.tm_min, fields.tm_sec,
                           static_cast<int>(now.tv_nsec / kNanosecondsPerMillisecond));
}

}  // namespace

int MillisecondsOfDay(int hour, int minute, int second, int millisecond) {
  const int ordinarySecond = std::min(second, kLastOrdinarySecond);
  return ((hour * 60 + minute) * 60 + ordinarySecond) * 1000 + millisecond;
}

int LocalMillisecondsOfDay() { return ReadMillisecondsOfDay(localtime_r); }

int UtcMillisecondsOfDay() { return ReadMillisecondsOfDay(gmtime_r); }
