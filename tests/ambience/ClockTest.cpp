#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "ambience/clock.h"
#include "ambience/time_text.h"

namespace {

constexpr int kMillisecondsPerDay = 86400000;
constexpr int kMillisecondsPerHour = 3600000;
// Two reads of the clock may straddle a millisecond or, on a busy machine, a few more.
constexpr int kReadTolerance = 1000;

TEST(MillisecondsOfDay, CountsFromMidnight) {
  struct Case {
    int hour, minute, second, millisecond;
    int expected;
  };
  const std::vector<Case> cases = {
      {0, 0, 0, 0, 0},
      {0, 0, 8, 640, 8640},
      {12, 34, 56, 789, 45296789},
      {23, 59, 59, 999, 86399999},
      // A leap second would run past the end of the day.
      {23, 59, 60, 500, 86399500},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MillisecondsOfDay(c.hour, c.minute, c.second, c.millisecond), c.expected)
        << c.hour << ":" << c.minute << ":" << c.second << "." << c.millisecond;
  }
}

// Runs a test in a fixed time zone, given in POSIX form so that no zone data is needed.
class ClockInZone : public testing::Test {
 protected:
  void SetUp() override {
    if (const char* zone = std::getenv("TZ")) savedZone_ = zone;
    setenv("TZ", "JST-9", 1);
    tzset();
  }

  void TearDown() override {
    if (savedZone_) {
      setenv("TZ", savedZone_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::optional<std::string> savedZone_;
};

int ForwardDistance(int from, int to) { return ((to - from) % kMillisecondsPerDay + kMillisecondsPerDay) % kMillisecondsPerDay; }

TEST_F(ClockInZone, LocalTimeRunsNineHoursAheadOfUtc) {
  const int utc = UtcMillisecondsOfDay();
  const int local = LocalMillisecondsOfDay();
  const int ahead = ForwardDistance(utc, local);
  EXPECT_GE(ahead, 9 * kMillisecondsPerHour);
  EXPECT_LE(ahead, 9 * kMillisecondsPerHour + kReadTolerance);
}

TEST_F(ClockInZone, TimeOfDayFractionReadsTheLocalClock) {
  const int before = LocalMillisecondsOfDay();
  const double fraction = TimeOfDayFraction();
  const int after = LocalMillisecondsOfDay();
  if (after < before) GTEST_SKIP() << "local midnight passed during the test";
  EXPECT_GE(fraction, DayFraction(before));
  EXPECT_LE(fraction, DayFraction(after));
}

}  // namespace
