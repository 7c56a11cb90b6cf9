#pragma once

#include <optional>
#include <string>
#include <string_view>

// What one click does: a new caption for the talk label, or none to leave it
// as it is, and whether the application is to be asked to terminate.
struct TalkOutcome {
  std::optional<std::string> caption;
  bool terminate = false;
};

// step is the click count after this click's increment; caption is the talk
// label's current caption in code page 932.
TalkOutcome PerformTalkStep(int step, std::string_view caption);
