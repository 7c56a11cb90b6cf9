#pragma once

#include <cstdint>

// A binary number with a 64-bit significand, the precision of the x87 extended
// format in which the time text was first computed. Doing these roundings on
// integers keeps the text identical on every processor (long double is a
// different type on ARM64 and may be plain double elsewhere).
//
// The value is significand × 2^exponent; a non-zero significand has its top bit
// set. Every operation rounds to nearest, ties to even.
struct ExtendedReal {
  std::uint64_t significand;
  int exponent;
};

// integer × 2^exponent rounded to 64 significant bits.
ExtendedReal RoundToExtended(unsigned __int128 integer, int exponent);

// numerator / denominator rounded to 64 significant bits; denominator > 0.
ExtendedReal DivideToExtended(std::uint64_t numerator, std::uint64_t denominator);

// The nearest integer; the value must be below 2^64.
std::uint64_t RoundToInteger(ExtendedReal value);

// The nearest double (53 significant bits); the value must lie in the range of
// normal doubles.
double RoundToDouble(ExtendedReal value);
