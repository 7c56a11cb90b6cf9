#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "ambience/time_text.h"

namespace {

struct TimeExample {
  int millisecondsOfDay;
  std::string text;  // with "." as the separator
};

// Each row names the clock time and, where it matters, the rounding step that
// the text depends on.
const std::vector<TimeExample> kTimeExamples = {
    {0, "0"},                                // 00:00:00.000
    {1, "1.15740740740741E-8"},              // 00:00:00.001, smallest non-zero
    {500, "5.78703703703704E-6"},            // 00:00:00.500
    {1000, "1.15740740740741E-5"},           // 00:00:01.000
    {4889, "5.65856481481482E-5"},           // 00:00:04.889, digits 16 to 18 are 500
    {8639, "9.99884259259259E-5"},           // 00:00:08.639, last scientific
    {8640, "0.0001"},                        // 00:00:08.640, first plain
    {8641, "0.000100011574074074"},          // 00:00:08.641, longest text
    {60000, "0.000694444444444444"},         // 00:01:00.000
    {82789, "0.000958206018518519"},         // 00:01:22.789, product rounded to 64 bits first
    {339050, "0.00392418981481481"},         // 00:05:39.050, quotient rounded to 64 bits first
    {3600000, "0.0416666666666667"},         // 01:00:00.000
    {10800000, "0.125"},                     // 03:00:00.000, trailing zeros dropped
    {21600000, "0.25"},                      // 06:00:00.000
    {21600001, "0.250000011574074"},         // 06:00:00.001
    {28800000, "0.333333333333333"},         // 08:00:00.000
    {43200000, "0.5"},                       // 12:00:00.000
    {45296789, "0.524268391203704"},         // 12:34:56.789
    {64800000, "0.75"},                      // 18:00:00.000
    {86399999, "0.999999988425926"},         // 23:59:59.999, largest
};

std::string WithSeparator(std::string text, char decimalChar) {
  for (char& c : text) {
    if (c == '.') c = decimalChar;
  }
  return text;
}

class TimeTextBySeparator : public testing::TestWithParam<char> {};

TEST_P(TimeTextBySeparator, ShowsEachExampleTimeWithTheSeparator) {
  const char decimalChar = GetParam();
  for (const TimeExample& example : kTimeExamples) {
    EXPECT_EQ(FormatGeneral15(DayFraction(example.millisecondsOfDay), decimalChar),
              WithSeparator(example.text, decimalChar))
        << "at millisecond " << example.millisecondsOfDay;
  }
}

INSTANTIATE_TEST_SUITE_P(PointAndComma, TimeTextBySeparator, testing::Values('.', ','));

TEST(DayFraction, RoundsTheQuotientTwiceNotOnce) {
  // A directly divided double is one unit in the last place off here.
  EXPECT_NE(DayFraction(339050), 339050 / 86400000.0);
  EXPECT_EQ(DayFraction(43200000), 0.5);
  EXPECT_EQ(DayFraction(0), 0.0);
  EXPECT_LT(DayFraction(86399999), 1.0);
}

TEST(DayFraction, RejectsMillisecondsOutsideTheDay) {
  EXPECT_THROW(DayFraction(-1), std::out_of_range);
  EXPECT_THROW(DayFraction(86400000), std::out_of_range);
}

struct FormatCase {
  double value;
  std::string text;
};

TEST(FormatGeneral15, CarriesAllNinesIntoTheNextDecade) {
  const std::vector<FormatCase> cases = {
      // 9.99999999999999912E-5 rounds up to 0.0001 and so leaves the scientific form.
      {std::nextafter(0.0001, 0.0), "0.0001"},
      {std::nextafter(0.1, 0.0), "0.1"},
      // The largest double below 1 rounds up to a whole number.
      {std::nextafter(1.0, 0.0), "1"},
      {0x1p-27, "7.45058059692383E-9"},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(FormatGeneral15(c.value, '.'), c.text) << "for " << c.value;
  }
}

TEST(FormatGeneral15, RejectsValuesOutsideTheDay) {
  const std::vector<double> outside = {-0.5, 1.0, 2.5, 1e-10, std::numeric_limits<double>::quiet_NaN(),
                                       std::numeric_limits<double>::infinity()};
  for (double value : outside) {
    EXPECT_THROW(FormatGeneral15(value, '.'), std::domain_error) << "for " << value;
  }
}

}  // namespace
