#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "ambience/time_text.h"

// Every millisecond of a day, checked against a computation that shares no code
// with the library: the x87 extended type, in which the time text was first
// computed, and exact integers for the alternative roundings that the counts
// below record.

namespace {

using Wide = unsigned __int128;

#if defined(__x86_64__) || defined(__i386__)
constexpr bool kHasX87 = std::numeric_limits<long double>::digits == 64;
#else
constexpr bool kHasX87 = false;
#endif

// Unoptimised, a call costs about a microsecond: there the day is sampled.
#ifdef __OPTIMIZE__
constexpr bool kOptimised = true;
#else
constexpr bool kOptimised = false;
#endif

constexpr int kMillisecondsPerDay = 86400000;
constexpr std::uint64_t kTenToThe14 = 100000000000000;
constexpr std::uint64_t kTenToThe15 = 1000000000000000;
constexpr std::uint64_t kTenToThe18 = 1000000000000000000;

// 0.digits × 10^exponent, digits a 15-digit number with its trailing zeros.
struct Decimal15 {
  std::uint64_t digits;
  int exponent;
  bool operator==(const Decimal15&) const = default;
};

// Half up on the 16th of 18 digits: the last three digits are 500 or more
// exactly when the 16th is 5 or more.
Decimal15 HalfUpFrom18Digits(std::uint64_t digits18, int exponent) {
  const std::uint64_t digits15 = (digits18 + 500) / 1000;
  if (digits15 == kTenToThe15) return {kTenToThe14, exponent + 1};
  return {digits15, exponent};
}

std::string Text(const Decimal15& decimal) {
  std::string digits = std::to_string(decimal.digits);
  while (digits.back() == '0') digits.pop_back();
  if (decimal.exponent >= -3) return "0." + std::string(-decimal.exponent, '0') + digits;
  std::string mantissa = digits.size() == 1 ? digits : digits.substr(0, 1) + "." + digits.substr(1);
  return mantissa + "E-" + std::to_string(1 - decimal.exponent);
}

// A positive double below 1 written out exactly at 18 or 19 significant
// digits: value × 10^scale = whole + fraction / 2^shift.
struct ExactDigits {
  int exponent;  // value = 0.d1d2… × 10^exponent
  std::uint64_t whole;
  Wide fraction;
  int shift;
};

const std::array<Wide, 28> kPowersOfFive = [] {
  std::array<Wide, 28> powers{};
  powers[0] = 1;
  for (std::size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 5;
  return powers;
}();

// The exponent is first estimated from the binary one and then corrected, so
// that whole has exactly 18 digits.
ExactDigits WriteOutExactly(double value) {
  int binaryExponent = 0;
  const double fraction = std::frexp(value, &binaryExponent);
  const auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  int exponent = static_cast<int>(std::floor(binaryExponent * std::log10(2.0))) + 1;
  while (true) {
    const int scale = 18 - exponent;
    const int shift = 53 - binaryExponent - scale;  // value × 10^scale = m × 5^scale / 2^shift
    const Wide product = significand * kPowersOfFive[scale];
    const auto whole = static_cast<std::uint64_t>(product >> shift);
    if (whole >= kTenToThe18) {
      ++exponent;
    } else if (whole < kTenToThe18 / 10) {
      --exponent;
    } else {
      return {exponent, whole, product & ((Wide{1} << shift) - 1), shift};
    }
  }
}

// The exact value rounded straight to 15 digits, half up: the digits beyond
// the 18th cannot lift the 16th digit over 5.
Decimal15 Direct15(const ExactDigits& exact) { return HalfUpFrom18Digits(exact.whole, exact.exponent); }

// The exact value rounded to 18 digits in one step, to nearest (ties to even),
// then half up to 15.
Decimal15 OneStep18(const ExactDigits& exact) {
  const Wide half = Wide{1} << (exact.shift - 1);
  const bool up = exact.fraction > half || (exact.fraction == half && exact.whole % 2 == 1);
  const std::uint64_t digits18 = exact.whole + (up ? 1 : 0);
  if (digits18 == kTenToThe18) return {kTenToThe14, exact.exponent + 1};
  return HalfUpFrom18Digits(digits18, exact.exponent);
}

// The time value, and its 15 digits, in the x87 extended type step by step.
double X87DayFraction(int n) { return static_cast<double>(static_cast<long double>(n) / 86400000.0L); }

const std::array<long double, 28> kX87PowersOfTen = [] {
  std::array<long double, 28> powers{};  // exact: 5^27 has 63 bits
  powers[0] = 1;
  for (std::size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 10;
  return powers;
}();

Decimal15 X87Digits(double value) {
  int binaryExponent = 0;
  std::frexp(value, &binaryExponent);
  int exponent = static_cast<int>(std::floor((binaryExponent - 1) * 19728 / 65536.0)) + 1;
  const long double product = static_cast<long double>(value) * kX87PowersOfTen[18 - exponent];
  long double digits18 = std::rint(product);
  if (digits18 >= 1e18L) {
    const long double tenth = digits18 / 10;
    digits18 = std::rint(tenth);
    ++exponent;
  }
  return HalfUpFrom18Digits(static_cast<std::uint64_t>(digits18), exponent);
}

// Sampled: the scientific texts and the longest plain ones whole, then every
// 31st millisecond, which lands on every digit of the second in turn.
constexpr int kCheckedWhole = kOptimised ? kMillisecondsPerDay : 100000;
constexpr int kStride = kOptimised ? 1 : 31;

int NextMillisecondToCheck(int n) { return n + (n < kCheckedWhole ? 1 : kStride); }

TEST(WholeDay, TextMatchesTheX87Computation) {
  if (!kHasX87) GTEST_SKIP() << "long double is not the x87 extended type here";
  int mismatches = 0;
  for (int n = 1; n < kMillisecondsPerDay; n = NextMillisecondToCheck(n)) {
    const std::string text = FormatGeneral15(DayFraction(n), '.');
    const std::string expected = Text(X87Digits(X87DayFraction(n)));
    if (text != expected && ++mismatches <= 5) {
      ADD_FAILURE() << "millisecond " << n << ": " << text << " instead of " << expected;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

// How many texts of the day each rounding step changes: proof that the x87
// computation above is the one the text was first made with.
TEST(WholeDay, EachRoundingStepChangesTheRecordedNumberOfTexts) {
  if (!kHasX87) GTEST_SKIP() << "long double is not the x87 extended type here";
  if (!kOptimised) GTEST_SKIP() << "counts need the whole day; run them in an optimised build";
  int directDivisionDiffers = 0;
  int direct15Differs = 0;
  int oneStep18Differs = 0;
  for (int n = 1; n < kMillisecondsPerDay; ++n) {
    const double t = X87DayFraction(n);
    const Decimal15 shown = X87Digits(t);
    const double divided = n / 86400000.0;
    if (divided != t && X87Digits(divided) != shown) ++directDivisionDiffers;
    const ExactDigits exact = WriteOutExactly(t);
    if (Direct15(exact) != shown) ++direct15Differs;
    if (OneStep18(exact) != shown) ++oneStep18Differs;
  }
  EXPECT_EQ(directDivisionDiffers, 2069);
  EXPECT_EQ(direct15Differs, 40483);
  EXPECT_EQ(oneStep18Differs, 1332);
}

}  // namespace
