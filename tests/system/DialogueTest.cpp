// The dialogue driven by a real pointer: which gestures on the stars perform
// a step, the hover colour of the stars, and the end at the 115th click.

// GoogleTest before Xlib, whose macros (None, Bool) would clash with it.
#include <gtest/gtest.h>

#include <X11/X.h>

#include <sstream>
#include <string>

#include "PaintedSketch.h"
#include "SketchLayout.h"
#include "Waiting.h"

namespace {

constexpr milliseconds kStepTimeout(3000);
constexpr milliseconds kSettle(300);
// Longer than the window system's double-click time of 500 ms.
constexpr milliseconds kPastDoubleClick(650);
// A leave is noticed within one 60 ms tick; the rest is room for a busy machine.
constexpr milliseconds kColourTimeout(400);
constexpr milliseconds kExitTimeout(5000);

// Well inside the picture, away from every label.
constexpr int kPictureX = 150;
constexpr int kPictureY = 220;

bool IsWhite(Rgb c) { return c.r >= 220 && c.g >= 220 && c.b >= 220; }
bool IsNavy(Rgb c) { return c.r <= 40 && c.g <= 40 && c.b >= 90 && c.b <= 170; }

bool StarsAre(PaintedSketch& sketch, bool (*colour)(Rgb)) {
  std::optional<Rgb> ink = sketch.StrongestInk(kStarsArea);
  return ink && colour(*ink);
}

std::string StarsColour(PaintedSketch& sketch) {
  std::optional<Rgb> ink = sketch.StrongestInk(kStarsArea);
  std::ostringstream text;
  if (ink) {
    text << "the stars' strongest pixel is " << *ink;
  } else {
    text << "no stars";
  }
  return text.str();
}

TEST(DialogueTest, DoubleClickPerformsOneStep) {
  PaintedSketch sketch;
  ASSERT_TRUE(sketch.Ready()) << sketch.Problem();
  SketchSession& session = sketch.Session();
  session.MoveTo(kStarsCentreX, kStarsCentreY);
  session.Input().Click(Button1);
  session.Input().Click(Button1);

  // Step 1 shows one line; step 2 would add one three lines further down.
  EXPECT_TRUE(WaitUntil([&] { return !sketch.Ink(kTalkFirstLine).empty(); }, kStepTimeout)) << "no step performed";
  Pause(kSettle);
  EXPECT_TRUE(sketch.Ink(kTalkFourthLine).empty()) << "the double-click performed two steps";

  Pause(kPastDoubleClick);
  session.Input().Click(Button1);
  EXPECT_TRUE(WaitUntil([&] { return !sketch.Ink(kTalkFourthLine).empty(); }, kStepTimeout))
      << "the next single click did not perform step 2";
}

TEST(DialogueTest, OnlyALeftPressAndReleaseOnTheStarsPerformsAStep) {
  PaintedSketch sketch;
  ASSERT_TRUE(sketch.Ready()) << sketch.Problem();
  SketchSession& session = sketch.Session();
  XInput& input = session.Input();

  // Pressed on the stars, released on the picture.
  session.MoveTo(kStarsCentreX, kStarsCentreY);
  input.Press(Button1);
  session.MoveTo(kPictureX, kPictureY);
  input.Release(Button1);
  Pause(kPastDoubleClick);
  // Pressed on the picture, released on the stars.
  input.Press(Button1);
  session.MoveTo(kStarsCentreX, kStarsCentreY);
  input.Release(Button1);
  Pause(kPastDoubleClick);
  // The other buttons.
  input.Click(Button3);
  input.Click(Button2);
  // Clicks on the talk label, the picture and the title.
  session.ClickAt(kTalkFirstLine.x + 2, kTalkFirstLine.y + 5);
  session.ClickAt(kPictureX, kPictureY);
  session.ClickAt(kTitleArea.x + 20, 4);
  Pause(kSettle);
  EXPECT_TRUE(sketch.Ink(kTalkArea).empty()) << "a gesture performed a step";

  // A plain click still performs the first step.
  Pause(kPastDoubleClick);
  session.ClickAt(kStarsCentreX, kStarsCentreY);
  EXPECT_TRUE(WaitUntil([&] { return !sketch.Ink(kTalkFirstLine).empty(); }, kStepTimeout))
      << "a click on the stars performed no step";
  Pause(kSettle);
  EXPECT_TRUE(sketch.Ink(kTalkFourthLine).empty()) << "the click performed more than the first step";
}

TEST(DialogueTest, StarsTurnNavyUnderThePointerAndWhiteWhenItLeaves) {
  PaintedSketch sketch;
  ASSERT_TRUE(sketch.Ready()) << sketch.Problem();
  SketchSession& session = sketch.Session();
  EXPECT_TRUE(StarsAre(sketch, IsWhite)) << StarsColour(sketch);

  session.MoveTo(kStarsCentreX, kStarsCentreY);
  EXPECT_TRUE(WaitUntil([&] { return StarsAre(sketch, IsNavy); }, kColourTimeout)) << StarsColour(sketch);
  // Off the stars onto the picture.
  session.MoveTo(kPictureX, kPictureY);
  EXPECT_TRUE(WaitUntil([&] { return StarsAre(sketch, IsWhite); }, kColourTimeout)) << StarsColour(sketch);

  session.MoveTo(kStarsCentreX, kStarsCentreY);
  EXPECT_TRUE(WaitUntil([&] { return StarsAre(sketch, IsNavy); }, kColourTimeout)) << StarsColour(sketch);
  // Straight out of the window, with no move over anything else in it.
  session.Input().MoveTo(10, 10);
  EXPECT_TRUE(WaitUntil([&] { return StarsAre(sketch, IsWhite); }, kColourTimeout)) << StarsColour(sketch);
}

// The double-click time is set to nothing, so that quick clicks are all
// single clicks.
TEST(DialogueTest, TheHundredAndFifteenthClickEndsTheProgram) {
  PaintedSketch sketch({"SDL_MOUSE_DOUBLE_CLICK_TIME=0"});
  ASSERT_TRUE(sketch.Ready()) << sketch.Problem();
  SketchSession& session = sketch.Session();
  session.MoveTo(kStarsCentreX, kStarsCentreY);
  ASSERT_TRUE(WaitUntil([&] { return StarsAre(sketch, IsNavy); }, kColourTimeout)) << StarsColour(sketch);

  for (int click = 1; click <= 114; ++click) session.Input().Click(Button1);
  // Input is handled in order: once the stars have seen the pointer leave,
  // every click before has been handled.
  session.MoveTo(kPictureX, kPictureY);
  ASSERT_TRUE(WaitUntil([&] { return StarsAre(sketch, IsWhite); }, kStepTimeout))
      << (session.Program().Running() ? StarsColour(sketch) : "the program ended before the 115th click");
  Pause(kSettle);
  ASSERT_TRUE(session.Program().Running()) << "the program ended before the 115th click";
  EXPECT_FALSE(sketch.Ink(kTalkFirstLine).empty()) << "the closing line is not shown";

  session.ClickAt(kStarsCentreX, kStarsCentreY);
  std::optional<int> code = session.Program().WaitForExit(kExitTimeout);
  ASSERT_TRUE(code) << "the 115th click did not end the program";
  EXPECT_EQ(*code, 0) << "standard error: " << session.ErrorOutput();
}

}  // namespace
