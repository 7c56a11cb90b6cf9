#pragma once

#include <string>

// The time of day as a fraction of a day (noon is 0.5), as the flicker label
// shows it.

// millisecondsOfDay / 86,400,000, rounded first to a 64-bit significand and then
// to a double. Both roundings belong to the result: the text of a directly
// divided double differs for some two thousand milliseconds of a day.
// Throws std::out_of_range unless 0 <= millisecondsOfDay < 86,400,000.
double DayFraction(int millisecondsOfDay);

// The general number format with 15 significant digits: no trailing zeros, plain
// from 0.0001 upwards ("0.125"), scientific below it ("1.15740740740741E-8").
// Takes 0 or a value in [2^-27, 1), the range of DayFraction; throws
// std::domain_error for anything else.
std::string FormatGeneral15(double value, char decimalChar);

// DayFraction of the local clock's current time of day.
double TimeOfDayFraction();
