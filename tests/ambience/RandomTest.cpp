#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ambience/random.h"

namespace {

constexpr std::uint32_t kMultiplier = 134775813;

// The state that the next step turns into target: steps are invertible because
// the multiplier is odd.
std::uint32_t StateBefore(std::uint32_t target) {
  std::uint32_t inverse = kMultiplier;  // Newton's iteration doubles the correct bits each time
  for (int i = 0; i < 5; ++i) inverse *= 2 - kMultiplier * inverse;
  return (target - 1) * inverse;
}

class RandomTest : public testing::Test {
 protected:
  void SetUp() override { saved_ = RandomState; }
  void TearDown() override { RandomState = saved_; }

  static std::vector<std::int32_t> Draws(std::uint32_t seed, int count, std::int32_t n) {
    RandomState = seed;
    std::vector<std::int32_t> draws;
    for (int i = 0; i < count; ++i) draws.push_back(RandomBelow(n));
    return draws;
  }

 private:
  std::uint32_t saved_ = 0;
};

TEST_F(RandomTest, DrawsTheKnownSequences) {
  EXPECT_EQ(Draws(43200000, 12, 50), (std::vector<std::int32_t>{18, 21, 38, 12, 20, 35, 25, 7, 1, 48, 19, 47}));
  EXPECT_EQ(Draws(0, 4, 50), (std::vector<std::int32_t>{0, 1, 43, 10}));
}

TEST_F(RandomTest, ScalesTheNewStateByItsHighBits) {
  struct Case {
    std::uint32_t newState;
    std::int32_t n;
    std::int32_t draw;
  };
  const std::vector<Case> cases = {
      {85899345, 50, 0},   // just below the chime
      {85899346, 50, 1},   // first state that chimes
      {171798691, 50, 1},  // last state that chimes
      {171798692, 50, 2},  // just above it
      {0, 50, 0},
      {0xFFFFFFFF, 50, 49},
      // The product needs 63 bits: a 32-bit multiplication would lose them.
      {0xFFFFFFFF, 0x7FFFFFFF, 0x7FFFFFFE},
  };
  for (const Case& c : cases) {
    RandomState = StateBefore(c.newState);
    EXPECT_EQ(RandomBelow(c.n), c.draw) << "new state " << c.newState << ", n " << c.n;
    EXPECT_EQ(RandomState, c.newState);
  }
}

}  // namespace
