#include "ambience/random.h"

std::uint32_t RandomState = 0;

namespace {

constexpr std::uint32_t kMultiplier = 134775813;
constexpr std::uint32_t kIncrement = 1;

}  // namespace

std::int32_t RandomBelow(std::int32_t n) {
  RandomState = RandomState * kMultiplier + kIncrement;
  // Scale rather than take a remainder: the high bits of the state are the random ones.
  const std::uint64_t scaled = std::uint64_t{RandomState} * static_cast<std::uint32_t>(n);
  return static_cast<std::int32_t>(scaled >> 32);
}
