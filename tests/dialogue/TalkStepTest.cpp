#include "dialogue/TalkStep.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

// The talk label as the click handler drives it: starts empty, and every click
// applies the outcome of its step.
class TalkLabel {
 public:
  void ClickUpTo(int lastStep) {
    while (clicks_ < lastStep) {
      const TalkOutcome outcome = PerformTalkStep(++clicks_, caption_);
      if (outcome.caption) caption_ = *outcome.caption;
      if (outcome.terminate) terminatingSteps_.push_back(clicks_);
    }
  }

  const std::string& Caption() const { return caption_; }
  const std::vector<int>& TerminatingSteps() const { return terminatingSteps_; }

 private:
  int clicks_ = 0;
  std::string caption_;
  std::vector<int> terminatingSteps_;
};

struct CaptionAfterClicks {
  int clicks;
  std::string caption;
};

// Literals are code page 932 bytes, exactly what the label holds.
const std::vector<CaptionAfterClicks> CaptionsAfterClicks = {
    {1, "あっちは温度がひくいよ"},
    {2, "あっちは温度がひくいよ\r\n\r\n\r\nそんな薄着じゃさ"},
    {4, " "},
    {7, " "},
    {8, "ほら　これ"},
    {26, "手ぶくろは　ちゃんとあるの "},
    {85, "ちゃんとごはんをたべてちゃんとねむってね\r\n\r\n\r\nそれからね\r\n\r\nさむい夜はわたしのことおもいだして"},
    {114, "じゃあ 元気でね"},
    {116, "じゃあ 元気でね"},
};

TEST(TalkStep, CaptionAfterClicksFromAnEmptyLabel) {
  for (const CaptionAfterClicks& expected : CaptionsAfterClicks) {
    TalkLabel label;
    label.ClickUpTo(expected.clicks);
    EXPECT_EQ(label.Caption(), expected.caption) << "after " << expected.clicks << " clicks";
  }
}

TEST(TalkStep, OnlyStep115AsksToTerminate) {
  TalkLabel label;
  label.ClickUpTo(400);
  EXPECT_EQ(label.TerminatingSteps(), std::vector<int>{115});
}

TEST(TalkStep, TerminateLeavesTheCaptionAsItIs) {
  const TalkOutcome outcome = PerformTalkStep(115, "じゃあ 元気でね");
  EXPECT_TRUE(outcome.terminate);
  EXPECT_FALSE(outcome.caption.has_value());
}

TEST(TalkStep, StepsWithoutARowChangeNothing) {
  for (int step : {INT_MIN, -1, 0, 5, 7, 30, 114, 116, 1000, INT_MAX}) {
    const TalkOutcome outcome = PerformTalkStep(step, "ほら　これ");
    EXPECT_FALSE(outcome.caption.has_value()) << "step " << step;
    EXPECT_FALSE(outcome.terminate) << "step " << step;
  }
}

TEST(TalkStep, AppendJoinsWhateverTheLabelHolds) {
  EXPECT_EQ(PerformTalkStep(2, "abc").caption, "abc\r\n\r\n\r\nそんな薄着じゃさ");
  EXPECT_EQ(PerformTalkStep(2, "").caption, "\r\n\r\n\r\nそんな薄着じゃさ");
}

TEST(TalkStep, ReplaceAndBlankIgnoreTheCurrentCaption) {
  EXPECT_EQ(PerformTalkStep(1, "そんな薄着じゃさ").caption, "あっちは温度がひくいよ");
  EXPECT_EQ(PerformTalkStep(4, "あっちは温度がひくいよ").caption, " ");
  EXPECT_EQ(PerformTalkStep(4, "").caption, " ");
  EXPECT_FALSE(PerformTalkStep(1, "").terminate);
}

}  // namespace
