#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "platform/TCanvas.h"
#include "platform/TLabel.h"
#include "platform/TextPainter.h"
#include "tests/platform/HeadlessGui.h"

namespace {

using headless::MouseLog;
using headless::PushButton;
using headless::PushClick;
using headless::PushMotion;
using headless::PushWindowEvent;

constexpr TColor kRed{255, 0, 0};
constexpr TColor kGreen{0, 255, 0};
constexpr TColor kGrey{128, 128, 128};

// Lower (10,10)-(70,70) lies below Upper (50,50)-(110,110); Aside
// (130,10)-(190,60) stands alone; the rest of the client area is the form's.
constexpr TPoint kLowerOnly{20, 20};
constexpr TPoint kOverlap{60, 60};
constexpr TPoint kUpperOnly{100, 100};
constexpr TPoint kAside{150, 30};
constexpr TPoint kEmpty{150, 100};

class MouseRouting : public headless::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    headless::TTestForm& form = ShowTestForm();
    lowerBlock_ = &form.AddBlock("Lower", {10, 10, 70, 70}, kRed);
    upperBlock_ = &form.AddBlock("Upper", {50, 50, 110, 110}, kGreen);
    asideBlock_ = &form.AddBlock("Aside", {130, 10, 190, 60}, kGrey);
    lower_.Watch(*lowerBlock_);
    upper_.Watch(*upperBlock_);
    aside_.Watch(*asideBlock_);
  }

  Uint32 Window() const { return form_->WindowId(); }

  TControl* lowerBlock_ = nullptr;
  TControl* upperBlock_ = nullptr;
  TControl* asideBlock_ = nullptr;
  MouseLog lower_;
  MouseLog upper_;
  MouseLog aside_;
};

struct ButtonEvent {
  bool down;
  TPoint at;
  Uint8 button = SDL_BUTTON_LEFT;
  Uint8 clicks = 1;
};

struct ClickCase {
  const char* name;
  std::vector<ButtonEvent> events;
  int lowerClicks, upperClicks, asideClicks;
};

void PrintTo(const ClickCase& c, std::ostream* os) { *os << c.name; }

class Clicks : public MouseRouting, public testing::WithParamInterface<ClickCase> {};

TEST_P(Clicks, ReachOnlyTheControlThatWasPressedAndReleasedUpon) {
  for (const ButtonEvent& e : GetParam().events) PushButton(Window(), e.down, e.at, e.button, e.clicks);
  Application->ProcessMessages();
  EXPECT_EQ(lower_.Clicks, GetParam().lowerClicks);
  EXPECT_EQ(upper_.Clicks, GetParam().upperClicks);
  EXPECT_EQ(aside_.Clicks, GetParam().asideClicks);
}

ClickCase Press(const char* name, TPoint down, TPoint up, int lower, int upper, int aside) {
  return {name, {{true, down}, {false, up}}, lower, upper, aside};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Clicks,
    testing::Values(
        Press("InsideOneControl", kUpperOnly, kUpperOnly, 0, 1, 0),
        Press("WhereTwoOverlapTheUpperOne", kOverlap, kOverlap, 0, 1, 0),
        Press("WhereOnlyTheLowerOneIs", kLowerOnly, kLowerOnly, 1, 0, 0),
        Press("MovedWithinTheControl", {51, 51}, {109, 109}, 0, 1, 0),
        Press("ReleasedOverTheForm", kUpperOnly, kEmpty, 0, 0, 0),
        Press("ReleasedOnAnotherControl", kUpperOnly, kAside, 0, 0, 0),
        Press("ReleasedOnTheControlBelow", kOverlap, kLowerOnly, 0, 0, 0),
        Press("ReleasedOnTheExclusiveRightEdge", kUpperOnly, {110, 100}, 0, 0, 0),
        Press("ReleasedOutsideTheWindow", kUpperOnly, {400, -20}, 0, 0, 0),
        Press("PressedOverTheForm", kEmpty, kUpperOnly, 0, 0, 0),
        Press("PressedOnAnotherControl", kAside, kUpperOnly, 0, 0, 0),
        ClickCase{"RightButton", {{true, kUpperOnly, SDL_BUTTON_RIGHT}, {false, kUpperOnly, SDL_BUTTON_RIGHT}}, 0, 0, 0},
        ClickCase{"MiddleButton", {{true, kUpperOnly, SDL_BUTTON_MIDDLE}, {false, kUpperOnly, SDL_BUTTON_MIDDLE}}, 0, 0, 0},
        ClickCase{"DoubleClick",
                  {{true, kUpperOnly, SDL_BUTTON_LEFT, 1}, {false, kUpperOnly, SDL_BUTTON_LEFT, 1},
                   {true, kUpperOnly, SDL_BUTTON_LEFT, 2}, {false, kUpperOnly, SDL_BUTTON_LEFT, 2}},
                  0, 1, 0},
        ClickCase{"FourQuickPresses",
                  {{true, kUpperOnly, SDL_BUTTON_LEFT, 1}, {false, kUpperOnly, SDL_BUTTON_LEFT, 1},
                   {true, kUpperOnly, SDL_BUTTON_LEFT, 2}, {false, kUpperOnly, SDL_BUTTON_LEFT, 2},
                   {true, kUpperOnly, SDL_BUTTON_LEFT, 3}, {false, kUpperOnly, SDL_BUTTON_LEFT, 3},
                   {true, kUpperOnly, SDL_BUTTON_LEFT, 4}, {false, kUpperOnly, SDL_BUTTON_LEFT, 4}},
                  0, 2, 0},
        ClickCase{"RightPressDuringALeftClick",
                  {{true, kUpperOnly}, {true, kUpperOnly, SDL_BUTTON_RIGHT}, {false, kUpperOnly, SDL_BUTTON_RIGHT},
                   {false, kUpperOnly}},
                  0, 1, 0}),
    [](const testing::TestParamInfo<ClickCase>& info) { return std::string(info.param.name); });

TEST_F(MouseRouting, HiddenAndDisabledControlsLetTheMouseThrough) {
  upperBlock_->SetVisible(false);
  PushClick(Window(), kOverlap);
  Application->ProcessMessages();
  upperBlock_->SetVisible(true);
  upperBlock_->SetEnabled(false);
  PushClick(Window(), kOverlap);
  Application->ProcessMessages();
  EXPECT_EQ(lower_.Clicks, 2);
  EXPECT_EQ(upper_.Clicks, 0);
}

TEST_F(MouseRouting, MovesArriveRelativeToTheControlUnderThePointer) {
  PushMotion(Window(), kOverlap);
  PushMotion(Window(), kLowerOnly);
  PushMotion(Window(), kEmpty);
  Application->ProcessMessages();
  EXPECT_EQ(upper_.Moves, (std::vector<TPoint>{{10, 10}}));
  EXPECT_EQ(lower_.Moves, (std::vector<TPoint>{{10, 10}}));
  EXPECT_TRUE(aside_.Moves.empty());
}

TEST_F(MouseRouting, WhileTheLeftButtonIsHeldThePressedControlHasTheMouse) {
  PushButton(Window(), true, kLowerOnly);
  PushMotion(Window(), kAside);
  PushMotion(Window(), {-5, -5});
  PushMotion(Window(), {400, 300});
  PushButton(Window(), false, kAside);
  PushMotion(Window(), kAside);
  Application->ProcessMessages();
  EXPECT_EQ(lower_.Moves, (std::vector<TPoint>{{140, 20}, {-15, -15}, {390, 290}}));
  EXPECT_EQ(lower_.Clicks, 0);
  // Released, the pointer belongs to whatever lies under it again.
  EXPECT_EQ(aside_.Moves, (std::vector<TPoint>{{20, 20}}));
  EXPECT_EQ(aside_.Clicks, 0);
}

TEST_F(MouseRouting, OnlyTheLeftButtonCapturesTheMouse) {
  PushButton(Window(), true, kLowerOnly, SDL_BUTTON_RIGHT);
  PushMotion(Window(), kAside);
  Application->ProcessMessages();
  EXPECT_TRUE(lower_.Moves.empty());
  EXPECT_EQ(aside_.Moves.size(), 1u);
}

// The start label of the piece: six asterisks over a picture. Its whole
// fitted rectangle takes the mouse, the gaps between the glyphs included.
class StarsLabel : public headless::ApplicationTest {
 protected:
  static constexpr TColor kPicture{30, 90, 60};

  void SetUp() override {
    ApplicationTest::SetUp();
    headless::TTestForm& form = ShowTestForm();
    picture_.Watch(form.AddBlock("Picture", {0, 0, 200, 120}, kPicture));
    label_ = &form.AddLabel("LabelFirst", {40, 60}, "* * * * * *", 12, clWhite);
    label_->Font().SetStyle(TFontStyle::Bold);
    stars_.Watch(*label_);
  }

  // A column inside the label, between the first two asterisks, where the
  // picture shows from the label's top to its bottom.
  std::optional<int> GapColumn() {
    SDL_Surface* surface = SDL_GetWindowSurface(form_->Window());
    Application->ProcessMessages();
    TRect r = label_->BoundsRect();
    bool afterGlyph = false;
    for (int x = r.Left; x < r.Right; ++x) {
      bool clear = headless::AllPixels(surface, {x, r.Top, x + 1, r.Bottom}, kPicture);
      if (!clear) afterGlyph = true;
      if (clear && afterGlyph) return x;
    }
    return std::nullopt;
  }

  TLabel* label_ = nullptr;
  MouseLog picture_;
  MouseLog stars_;
};

TEST_F(StarsLabel, AClickBetweenTwoAsterisksReachesTheLabel) {
  std::optional<int> gap = GapColumn();
  ASSERT_TRUE(gap.has_value());
  PushClick(form_->WindowId(), {*gap, label_->Top() + label_->Height() / 2});
  Application->ProcessMessages();
  EXPECT_EQ(stars_.Clicks, 1);
  EXPECT_EQ(picture_.Clicks, 0);
}

TEST_F(StarsLabel, AClickOnePixelOutsideItsFittedRectangleDoesNot) {
  TRect r = label_->BoundsRect();
  int middleY = r.Top + r.Height() / 2;
  int middleX = r.Left + r.Width() / 2;
  for (TPoint p : {TPoint{r.Left - 1, middleY}, TPoint{r.Right, middleY}, TPoint{middleX, r.Top - 1},
                   TPoint{middleX, r.Bottom}}) {
    PushClick(form_->WindowId(), p);
  }
  PushClick(form_->WindowId(), {r.Right - 1, r.Bottom - 1});
  Application->ProcessMessages();
  EXPECT_EQ(picture_.Clicks, 4);
  EXPECT_EQ(stars_.Clicks, 1);
}

// The platform notices the pointer leaving a control when the loop has
// nothing else to do.
class MouseLeave : public MouseRouting {};

TEST_F(MouseLeave, IsReportedOnceFromTheIdleWorkWhenThePointerMovesToAnotherControl) {
  PushMotion(Window(), kLowerOnly);
  headless::RunIdleWork();
  PushMotion(Window(), kAside);
  Application->ProcessMessages();
  EXPECT_EQ(lower_.Leaves, 0) << "not before the loop falls idle";

  headless::RunIdleWork();
  EXPECT_EQ(lower_.Leaves, 1);
  headless::RunIdleWork();
  EXPECT_EQ(lower_.Leaves, 1);
  EXPECT_EQ(aside_.Leaves, 0);
}

TEST_F(MouseLeave, IsReportedWhenThePointerMovesOverTheFormOrLeavesTheWindow) {
  PushMotion(Window(), kLowerOnly);
  headless::RunIdleWork();
  PushMotion(Window(), kEmpty);
  headless::RunIdleWork();
  EXPECT_EQ(lower_.Leaves, 1);

  PushMotion(Window(), kAside);
  headless::RunIdleWork();
  PushWindowEvent(Window(), SDL_WINDOWEVENT_LEAVE);
  headless::RunIdleWork();
  EXPECT_EQ(aside_.Leaves, 1);
}

TEST_F(MouseLeave, MovesWithinOneControlReportNoLeave) {
  for (TPoint p : {TPoint{12, 12}, TPoint{30, 40}, TPoint{45, 45}}) {
    PushMotion(Window(), p);
    headless::RunIdleWork();
  }
  // From the lower control straight onto the upper one lying over it.
  PushMotion(Window(), kOverlap);
  headless::RunIdleWork();
  EXPECT_EQ(lower_.Leaves, 1);
  EXPECT_EQ(upper_.Leaves, 0);
}

}  // namespace
