#pragma once

#include <optional>
#include <string>
#include <vector>

// Environment entries that stop the program's wall clock at a given UTC time
// of day through libfaketime, while its timers (on the monotonic clock) run on.
// Nothing where libfaketime is not installed.
std::optional<std::vector<std::string>> FrozenClockAt(const std::string& utcTimeOfDay);
