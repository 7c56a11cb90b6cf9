#include "ambience/extended_real.h"

#include <cassert>
#include <cmath>

namespace {

using Wide = unsigned __int128;

constexpr int kSignificandBits = 64;
constexpr int kDoubleDroppedBits = 64 - 53;

int BitLength(Wide value) {
  const auto high = static_cast<std::uint64_t>(value >> 64);
  const auto low = static_cast<std::uint64_t>(value);
  if (high != 0) return 128 - __builtin_clzll(high);
  if (low != 0) return 64 - __builtin_clzll(low);
  return 0;
}

// value / 2^shift to the nearest integer, ties to even. A shift of 128 or more
// leaves less than one half of any value below 2^127, so it gives 0.
Wide ShiftRightToNearestEven(Wide value, int shift) {
  assert(shift >= 0);
  if (shift == 0) return value;
  if (shift >= 128) return 0;
  Wide quotient = value >> shift;
  const Wide remainder = value - (quotient << shift);
  const Wide half = Wide{1} << (shift - 1);
  if (remainder > half || (remainder == half && (quotient & 1) != 0)) ++quotient;
  return quotient;
}

}  // namespace

ExtendedReal RoundToExtended(Wide integer, int exponent) {
  if (integer == 0) return {0, 0};
  const int excess = BitLength(integer) - kSignificandBits;
  if (excess <= 0) return {static_cast<std::uint64_t>(integer << -excess), exponent + excess};
  const Wide rounded = ShiftRightToNearestEven(integer, excess);
  // Rounding up from 2^64 − 1 carries into a 65th bit: the result is then 2^64 exactly.
  if (BitLength(rounded) > kSignificandBits) return {std::uint64_t{1} << 63, exponent + excess + 1};
  return {static_cast<std::uint64_t>(rounded), exponent + excess};
}

ExtendedReal DivideToExtended(std::uint64_t numerator, std::uint64_t denominator) {
  assert(denominator != 0);
  if (numerator == 0) return {0, 0};
  // Scale the numerator so that the integer quotient has exactly 64 bits; the
  // scaled numerator has at most 64 + 64 bits, so it fits.
  int shift = kSignificandBits - 1 + BitLength(denominator) - BitLength(numerator);
  Wide scaled = Wide{numerator} << shift;
  if (scaled < (Wide{denominator} << (kSignificandBits - 1))) {  // the quotient would be below 2^63
    ++shift;
    scaled <<= 1;
  }
  Wide quotient = scaled / denominator;
  const Wide twiceRemainder = 2 * (scaled - quotient * denominator);
  if (twiceRemainder > denominator || (twiceRemainder == denominator && (quotient & 1) != 0)) {
    ++quotient;
  }
  if (BitLength(quotient) > kSignificandBits) return {std::uint64_t{1} << 63, 1 - shift};
  return {static_cast<std::uint64_t>(quotient), -shift};
}

std::uint64_t RoundToInteger(ExtendedReal value) {
  if (value.significand == 0) return 0;
  assert(value.exponent <= 0);
  return static_cast<std::uint64_t>(ShiftRightToNearestEven(value.significand, -value.exponent));
}

double RoundToDouble(ExtendedReal value) {
  // At most 2^53, which a double holds exactly, so ldexp adds no rounding of its own.
  const Wide top = ShiftRightToNearestEven(value.significand, kDoubleDroppedBits);
  return std::ldexp(static_cast<double>(top), value.exponent + kDoubleDroppedBits);
}
