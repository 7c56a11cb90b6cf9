#pragma once

#include <optional>
#include <string_view>

// What one click on the start label does to the talk label.
enum class TalkAction { Replace, Append, Blank, Terminate };

// An appended text starts three lines below the caption, two empty lines between.
inline constexpr std::string_view TalkBreak = "\r\n\r\n\r\n";

// A blanked label holds one space, not the empty text.
inline constexpr std::string_view BlankText = " ";

// One acting step of the script; text is code page 932, empty for Terminate.
struct TalkRow {
  int step;
  TalkAction action;
  std::string_view text;
};

// The monologue, one row per step that acts; every other step is silent.
class TalkScript {
 public:
  static constexpr int LastStep = 115;

  // Empty for silent steps and for every step outside 1..LastStep.
  static std::optional<TalkRow> RowFor(int step);
};
