#include "dialogue/TalkScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Cp932.h"

namespace {

using enum TalkAction;

std::string_view AsChars(std::u8string_view utf8) {
  return {reinterpret_cast<const char*>(utf8.data()), utf8.size()};
}

// The characters of a code page 932 text, each as its UTF-8 sequence.
std::vector<std::string> Characters(std::string_view cp932) {
  const std::string utf8 = Cp932ToUtf8(cp932);
  std::vector<std::string> characters;
  for (unsigned char byte : utf8) {
    const bool continuation = (byte & 0xC0) == 0x80;
    if (!continuation) characters.emplace_back();
    characters.back() += static_cast<char>(byte);
  }
  return characters;
}

std::string_view TextOf(int step) {
  const auto row = TalkScript::RowFor(step);
  return row ? row->text : std::string_view{};
}

struct ExpectedRow {
  int step;
  TalkAction action;
  int characters;  // not counting CR and LF
  std::size_t bytes;
  int fullWidthSpaces;
  int asciiSpaces;
  int lineBreaks;
};

constexpr std::array ExpectedRows = {
    ExpectedRow{1, Replace, 11, 22, 0, 0, 0},   ExpectedRow{2, Append, 8, 16, 0, 0, 0},
    ExpectedRow{3, Replace, 12, 24, 0, 0, 0},   ExpectedRow{4, Blank, 1, 1, 0, 1, 0},
    ExpectedRow{8, Replace, 5, 10, 1, 0, 0},    ExpectedRow{9, Replace, 13, 26, 0, 0, 0},
    ExpectedRow{10, Append, 12, 24, 2, 0, 0},   ExpectedRow{11, Blank, 1, 1, 0, 1, 0},
    ExpectedRow{15, Replace, 5, 10, 0, 0, 0},   ExpectedRow{16, Replace, 14, 28, 0, 0, 0},
    ExpectedRow{17, Replace, 7, 14, 0, 0, 0},   ExpectedRow{18, Append, 12, 24, 0, 0, 0},
    ExpectedRow{19, Blank, 1, 1, 0, 1, 0},      ExpectedRow{26, Replace, 14, 27, 1, 1, 0},
    ExpectedRow{27, Replace, 13, 26, 0, 0, 0},  ExpectedRow{28, Append, 16, 32, 0, 0, 0},
    ExpectedRow{29, Blank, 1, 1, 0, 1, 0},      ExpectedRow{31, Replace, 11, 22, 1, 0, 0},
    ExpectedRow{32, Append, 16, 32, 0, 0, 0},   ExpectedRow{33, Replace, 5, 10, 0, 0, 0},
    ExpectedRow{34, Blank, 1, 1, 0, 1, 0},      ExpectedRow{42, Replace, 6, 12, 1, 0, 0},
    ExpectedRow{43, Replace, 13, 26, 0, 0, 0},  ExpectedRow{44, Replace, 13, 26, 0, 0, 0},
    ExpectedRow{45, Replace, 3, 6, 0, 0, 0},    ExpectedRow{46, Append, 15, 30, 0, 0, 0},
    ExpectedRow{47, Replace, 8, 16, 1, 0, 0},   ExpectedRow{48, Append, 15, 30, 0, 0, 0},
    ExpectedRow{49, Replace, 11, 22, 0, 0, 0},  ExpectedRow{50, Append, 22, 44, 1, 0, 0},
    ExpectedRow{51, Replace, 17, 34, 0, 0, 0},  ExpectedRow{52, Replace, 14, 28, 0, 0, 0},
    ExpectedRow{53, Blank, 1, 1, 0, 1, 0},      ExpectedRow{60, Replace, 5, 10, 0, 0, 0},
    ExpectedRow{61, Blank, 1, 1, 0, 1, 0},      ExpectedRow{72, Replace, 18, 36, 1, 0, 0},
    ExpectedRow{73, Replace, 8, 16, 1, 0, 0},   ExpectedRow{74, Blank, 1, 1, 0, 1, 0},
    ExpectedRow{82, Replace, 9, 18, 0, 0, 0},   ExpectedRow{83, Replace, 9, 18, 1, 0, 0},
    ExpectedRow{84, Replace, 20, 40, 0, 0, 0},  ExpectedRow{85, Append, 22, 48, 0, 0, 2},
    ExpectedRow{86, Replace, 12, 24, 0, 0, 0},  ExpectedRow{87, Replace, 15, 30, 0, 0, 0},
    ExpectedRow{88, Replace, 7, 14, 0, 0, 0},   ExpectedRow{89, Blank, 1, 1, 0, 1, 0},
    ExpectedRow{100, Replace, 5, 10, 0, 0, 0},  ExpectedRow{101, Replace, 6, 12, 0, 0, 0},
    ExpectedRow{102, Replace, 8, 16, 1, 0, 0},  ExpectedRow{103, Replace, 14, 28, 0, 0, 0},
    ExpectedRow{104, Append, 12, 24, 0, 0, 0},  ExpectedRow{105, Replace, 11, 22, 1, 0, 0},
    ExpectedRow{106, Append, 20, 40, 0, 0, 0},  ExpectedRow{107, Replace, 9, 18, 0, 0, 0},
    ExpectedRow{108, Blank, 1, 1, 0, 1, 0},     ExpectedRow{113, Replace, 8, 15, 0, 1, 0},
    ExpectedRow{115, Terminate, 0, 0, 0, 0, 0},
};

bool IsActingStep(int step) {
  return std::ranges::find(ExpectedRows, step, &ExpectedRow::step) != ExpectedRows.end();
}

TEST(TalkScript, EveryActingStepHasItsActionLengthAndSpaces) {
  const std::string fullWidthSpace(AsChars(u8"\u3000"));
  for (const ExpectedRow& expected : ExpectedRows) {
    SCOPED_TRACE(testing::Message() << "step " << expected.step);
    const auto row = TalkScript::RowFor(expected.step);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->step, expected.step);
    EXPECT_EQ(row->action, expected.action);
    EXPECT_EQ(row->text.size(), expected.bytes);
    const std::vector<std::string> characters = Characters(row->text);
    EXPECT_EQ(std::ranges::count_if(characters, [](const std::string& c) { return c != "\r" && c != "\n"; }),
              expected.characters);
    EXPECT_EQ(std::ranges::count(characters, fullWidthSpace), expected.fullWidthSpaces);
    EXPECT_EQ(std::ranges::count(characters, " "), expected.asciiSpaces);
    EXPECT_EQ(std::ranges::count(characters, "\r"), expected.lineBreaks);
    EXPECT_EQ(std::ranges::count(characters, "\n"), expected.lineBreaks);
  }
}

TEST(TalkScript, EveryOtherStepIsSilent) {
  for (int step = -3; step <= 400; ++step) {
    if (IsActingStep(step)) continue;
    EXPECT_FALSE(TalkScript::RowFor(step).has_value()) << "step " << step;
  }
  for (int step : {INT_MIN, INT_MIN + 1, 1000, 65536, INT_MAX - 1, INT_MAX}) {
    EXPECT_FALSE(TalkScript::RowFor(step).has_value()) << "step " << step;
  }
}

TEST(TalkScript, CountsOfActionsOverTheWholeScript) {
  std::map<TalkAction, int> acting;
  int silent = 0;
  for (int step = 1; step <= TalkScript::LastStep; ++step) {
    if (const auto row = TalkScript::RowFor(step)) {
      ++acting[row->action];
    } else {
      ++silent;
    }
  }
  EXPECT_EQ(acting[Replace], 35);
  EXPECT_EQ(acting[Append], 11);
  EXPECT_EQ(acting[Blank], 10);
  EXPECT_EQ(acting[Terminate], 1);
  EXPECT_EQ(silent, 58);
  EXPECT_EQ(TalkScript::RowFor(TalkScript::LastStep)->action, Terminate);
}

// An appended text must stand below a one-line text, never below another append.
TEST(TalkScript, EveryAppendComesRightAfterAReplace) {
  for (int step = 1; step <= TalkScript::LastStep; ++step) {
    const auto row = TalkScript::RowFor(step);
    if (!row || row->action != Append) continue;
    const auto previous = TalkScript::RowFor(step - 1);
    ASSERT_TRUE(previous.has_value()) << "step " << step;
    EXPECT_EQ(previous->action, Replace) << "step " << step;
  }
}

TEST(TalkScript, Steps60And100SayTheSameLineAnd33DiffersInItsFirstCharacter) {
  EXPECT_EQ(TextOf(60), TextOf(100));
  const std::vector<std::string> repeated = Characters(TextOf(60));
  const std::vector<std::string> variant = Characters(TextOf(33));
  ASSERT_EQ(variant.size(), repeated.size());
  ASSERT_FALSE(variant.empty());
  EXPECT_NE(variant.front(), repeated.front());
  EXPECT_TRUE(std::equal(variant.begin() + 1, variant.end(), repeated.begin() + 1));
}

TEST(TalkScript, TheQuotedOpeningLinesAreCodePage932) {
  EXPECT_EQ(TextOf(1), Utf8ToCp932(AsChars(u8"あっちは温度がひくいよ")));
  EXPECT_EQ(TextOf(2), Utf8ToCp932(AsChars(u8"そんな薄着じゃさ")));
}

TEST(TalkScript, EveryTextSurvivesARoundTripThroughCodePage932) {
  for (const ExpectedRow& expected : ExpectedRows) {
    const std::string_view text = TextOf(expected.step);
    const std::string utf8 = Cp932ToUtf8(text);
    EXPECT_EQ(utf8.find(AsChars(u8"\uFFFD")), std::string::npos) << "step " << expected.step;
    EXPECT_EQ(Utf8ToCp932(utf8), std::string(text)) << "step " << expected.step;
  }
}

// Single bytes other than these would be NUL, "&" (an accelerator mark on a
// label), ASCII letters or half-width katakana, none of which the lines use.
bool IsAllowedSingleByte(unsigned char byte) { return byte == ' ' || byte == '\r' || byte == '\n'; }

bool IsLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

bool IsTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

TEST(TalkScript, TextsHoldOnlyDoubleByteCharactersBesideSpacesAndLineBreaks) {
  for (const ExpectedRow& expected : ExpectedRows) {
    const std::string_view text = TextOf(expected.step);
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      if (IsAllowedSingleByte(byte)) continue;
      ASSERT_TRUE(IsLeadByte(byte)) << "step " << expected.step << " byte " << i;
      ASSERT_LT(i + 1, text.size()) << "step " << expected.step;
      EXPECT_TRUE(IsTrailByte(static_cast<unsigned char>(text[++i]))) << "step " << expected.step << " byte " << i;
    }
  }
}

TEST(TalkScript, AsciiSpacesStandWhereTheLinesNeedThem) {
  const std::string_view step26 = TextOf(26);
  ASSERT_FALSE(step26.empty());
  EXPECT_EQ(step26.back(), ' ');

  const std::vector<std::string> step113 = Characters(TextOf(113));
  ASSERT_EQ(step113.size(), 8u);
  EXPECT_EQ(step113[3], " ");
}

TEST(TalkScript, Step85IsTwoLinesWithOneEmptyLineBetween) {
  const std::string_view text = TextOf(85);
  const std::size_t join = text.find("\r\n\r\n");
  ASSERT_NE(join, std::string_view::npos);
  EXPECT_EQ(Characters(text.substr(0, join)).size(), 5u);
  EXPECT_EQ(Characters(text.substr(join + 4)).size(), 17u);
  EXPECT_EQ(join, 10u);
}

TEST(TalkScript, BreakAndBlankAreTheirExactBytes) {
  EXPECT_EQ(TalkBreak, std::string_view("\x0D\x0A\x0D\x0A\x0D\x0A"));
  EXPECT_EQ(BlankText, std::string_view("\x20"));
}

}  // namespace
