#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/Cp932.h"
#include "platform/MessageText.h"

namespace {

struct TitleCase {
  const char* fileName;
  const char* title;
};

void PrintTo(const TitleCase& c, std::ostream* os) { *os << Cp932ToUtf8(c.fileName); }

class ApplicationTitle : public testing::TestWithParam<TitleCase> {};

TEST_P(ApplicationTitle, IsTheFileNameCutAtItsFirstDotWithTheRestInLowerCase) {
  EXPECT_EQ(ApplicationTitleFromFileName(GetParam().fileName), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    FileNames, ApplicationTitle,
    testing::Values(TitleCase{"/usr/bin/ABC.DEF.EXE", "Abc"}, TitleCase{"/x/sketch", "sketch"},
                    TitleCase{"/a.b/Prog", "Prog"}, TitleCase{"PROJECT1.EXE", "Project1"},
                    TitleCase{"/x/aBC", "abc"}, TitleCase{"/x/.profile", ""},
                    // The trail bytes of "ア" (0x83 0x41) and "イ" (0x83 0x43) look like
                    // "A" and "C"; a double-byte character is left whole.
                    TitleCase{"/x/アBC.EXE", "アbc"}, TitleCase{"/x/XアイZ", "Xアイz"}));

struct FullStopCase {
  const char* message;
  const char* shown;
};

void PrintTo(const FullStopCase& c, std::ostream* os) { *os << '"' << Cp932ToUtf8(c.message) << '"'; }

class FullStop : public testing::TestWithParam<FullStopCase> {};

TEST_P(FullStop, IsAddedOnlyAfterACharacterThatSortsAfterTheFullStop) {
  EXPECT_EQ(WithFullStop(GetParam().message), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, FullStop,
    testing::Values(FullStopCase{"", ""}, FullStopCase{"abc", "abc."}, FullStopCase{"abc.", "abc."},
                    FullStopCase{"abc!", "abc!"}, FullStopCase{"abc ", "abc "},
                    FullStopCase{"abc-", "abc-"}, FullStopCase{"abc,", "abc,"},
                    FullStopCase{"abc/", "abc/."}, FullStopCase{"#41", "#41."},
                    FullStopCase{"ファイル x は開けません", "ファイル x は開けません."},
                    // Every double-byte character sorts after "." by its first byte,
                    // even an ideographic full stop or one whose trail byte is "\".
                    FullStopCase{"終わり。", "終わり。."}, FullStopCase{"ソ", "ソ."},
                    // The trail byte of "ん" (0x82 0xF1) looks like a lead byte: the last
                    // character is still the "!" alone.
                    FullStopCase{"開けません!", "開けません!"},
                    FullStopCase{"ｱ", "ｱ."}));  // half-width katakana, one byte

TEST(LastResortReport, NamesTheKindTheModuleTheAddressAndTheMessage) {
  const void* address = reinterpret_cast<const void*>(0x4010A0);
  std::string addressText = std::string(2 * sizeof(void*) - 6, '0') + "4010A0";
  EXPECT_EQ(LastResortReport("EReadError", "sketch", address, "タイマーを取得できません"),
            "EReadErrorがモジュール sketch の " + addressText +
                " で発生しました。\nタイマーを取得できません.");
  EXPECT_EQ(LastResortReport("EOutOfResources", "sketch", address, "no window."),
            "EOutOfResourcesがモジュール sketch の " + addressText + " で発生しました。\nno window.");
  EXPECT_EQ(LastResortReport("Exception", "a.out", address, ""),
            "Exceptionがモジュール a.out の " + addressText + " で発生しました。\n");
}

}  // namespace
