#pragma once

// Milliseconds since midnight, ((hour × 60 + minute) × 60 + second) × 1000 +
// millisecond, from 0 to 86,399,999.

// A leap second (second 60) counts as second 59, so the day never overflows.
int MillisecondsOfDay(int hour, int minute, int second, int millisecond);

// Read from the system clock in local time.
int LocalMillisecondsOfDay();

// Read from the system clock in Coordinated Universal Time.
int UtcMillisecondsOfDay();
