#include "FrozenClock.h"

#include "TestEnvironment.h"

std::optional<std::vector<std::string>> FrozenClockAt(const std::string& utcTimeOfDay) {
  std::string library = FaketimeLibraryPath();
  if (library.empty()) return std::nullopt;
  // An absolute time without "@" stands still.
  return std::vector<std::string>{"LD_PRELOAD=" + library, "FAKETIME=2026-12-11 " + utcTimeOfDay,
                                  "FAKETIME_DONT_FAKE_MONOTONIC=1", "TZ=UTC"};
}
