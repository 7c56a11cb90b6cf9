#pragma once

#include <cstdint>

// The program's pseudo-random generator: a linear congruential generator
// modulo 2^32 that runs through every state before repeating. 0 at load;
// start-up seeds it once.
extern std::uint32_t RandomState;

// Advances RandomState by one step and returns a number in [0, n); n > 0.
std::int32_t RandomBelow(std::int32_t n);
