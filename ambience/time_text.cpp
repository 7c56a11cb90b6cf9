#include "ambience/time_text.h"

#include <array>
#include <bit>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "ambience/clock.h"
#include "ambience/extended_real.h"

namespace {

constexpr int kMillisecondsPerDay = 86400000;

constexpr int kDigitsComputed = 18;
constexpr std::uint64_t kTenToThe18 = 1000000000000000000;
constexpr std::uint64_t kTenToThe14 = 100000000000000;
constexpr std::uint64_t kTenToThe15 = 1000000000000000;
// Below 0.0001 (decimal exponent −3) the text turns scientific.
constexpr int kLowestPlainExponent = -3;

constexpr double kSmallestFormatted = 0x1p-27;
constexpr int kDoubleBits = 53;

// A positive number as 0.d1d2…dn × 10^exponent, the digits held as one integer.
struct DecimalDigits {
  std::uint64_t digits;
  int exponent;
};

// The exact binary form of a positive double: significand × 2^exponent.
struct ExactDouble {
  std::uint64_t significand;
  int exponent;
};

// For a positive normal double: the stored fraction with its implicit leading
// bit, and the stored exponent without its bias.
ExactDouble Decompose(double value) {
  constexpr int kFractionBits = kDoubleBits - 1;
  constexpr int kExponentBias = 1023;
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const std::uint64_t leadingBit = std::uint64_t{1} << kFractionBits;
  const int storedExponent = static_cast<int>(bits >> kFractionBits);
  return {(bits & (leadingBit - 1)) | leadingBit, storedExponent - kExponentBias - kFractionBits};
}

int FloorDivide(int numerator, int denominator) {
  const int quotient = numerator / denominator;
  return (numerator % denominator != 0 && numerator < 0) ? quotient - 1 : quotient;
}

// log10(2) ≈ 19728 / 65536: the estimate is the decimal exponent or one above it.
int EstimateDecimalExponent(const ExactDouble& value) {
  const int binaryExponent = value.exponent + kDoubleBits - 1;
  return FloorDivide(binaryExponent * 19728, 65536) + 1;
}

// 5^0 to 5^26; the last has 61 bits.
constexpr std::array<std::uint64_t, 27> kPowersOfFive = [] {
  std::array<std::uint64_t, 27> powers{};
  powers[0] = 1;
  for (std::size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 5;
  return powers;
}();

// value × 10^scale with a 64-bit significand, then rounded to an integer.
// 10^scale = 5^scale × 2^scale, and the product m × 5^scale stays below 2^128.
std::uint64_t ScaleToInteger(const ExactDouble& value, int scale) {
  const unsigned __int128 product = static_cast<unsigned __int128>(value.significand) * kPowersOfFive.at(scale);
  return RoundToInteger(RoundToExtended(product, value.exponent + scale));
}

// The first 18 significant digits, then reduced to 15 by rounding half up on
// the 16th; the 17th and 18th digits are ignored.
DecimalDigits SignificantDigits15(double value) {
  const ExactDouble exact = Decompose(value);
  int exponent = EstimateDecimalExponent(exact);
  std::uint64_t digits18 = ScaleToInteger(exact, kDigitsComputed - exponent);
  if (digits18 >= kTenToThe18) {  // the estimate was one too low
    digits18 = RoundToInteger(DivideToExtended(digits18, 10));
    ++exponent;
  }
  const std::uint64_t digits16 = digits18 / 100;
  std::uint64_t digits15 = digits16 / 10 + (digits16 % 10 >= 5 ? 1 : 0);
  if (digits15 == kTenToThe15) {  // 999…9 rounded up to 1000…0
    digits15 = kTenToThe14;
    ++exponent;
  }
  return {digits15, exponent};
}

std::string WithoutTrailingZeros(std::uint64_t digits) {
  std::string text = std::to_string(digits);
  text.erase(text.find_last_not_of('0') + 1);
  return text;
}

std::string PlainLayout(const std::string& digits, int exponent, char decimalChar) {
  // Only a value just below 1 that rounds up to 1 has a positive exponent: a
  // whole number, with no separator.
  if (exponent > 0) return digits + std::string(exponent - digits.size(), '0');
  return std::string("0") + decimalChar + std::string(-exponent, '0') + digits;
}

std::string ScientificLayout(const std::string& digits, int exponent, char decimalChar) {
  std::string text = digits.substr(0, 1);
  if (digits.size() > 1) text += decimalChar + digits.substr(1);
  // 0.d1d2… × 10^exponent is d1.d2… × 10^(exponent − 1), and exponent − 1 is negative.
  return text + "E-" + std::to_string(1 - exponent);
}

}  // namespace

double DayFraction(int millisecondsOfDay) {
  if (millisecondsOfDay < 0 || millisecondsOfDay >= kMillisecondsPerDay) {
    throw std::out_of_range("milliseconds of the day out of range: " + std::to_string(millisecondsOfDay));
  }
  return RoundToDouble(DivideToExtended(static_cast<std::uint64_t>(millisecondsOfDay), kMillisecondsPerDay));
}

std::string FormatGeneral15(double value, char decimalChar) {
  if (value == 0) return "0";
  if (!(value >= kSmallestFormatted && value < 1)) {
    throw std::domain_error("FormatGeneral15 takes 0 or a value from 2^-27 up to 1");
  }
  const DecimalDigits decimal = SignificantDigits15(value);
  const std::string digits = WithoutTrailingZeros(decimal.digits);
  return decimal.exponent >= kLowestPlainExponent ? PlainLayout(digits, decimal.exponent, decimalChar)
                                                  : ScientificLayout(digits, decimal.exponent, decimalChar);
}

double TimeOfDayFraction() { return DayFraction(LocalMillisecondsOfDay()); }
