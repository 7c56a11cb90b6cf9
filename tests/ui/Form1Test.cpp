#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/TImage.h"
#include "platform/TLabel.h"
#include "platform/TextPainter.h"
#include "tests/platform/HeadlessGui.h"
#include "ui/Main.h"

namespace {

using headless::ModalBoxDriver;
using headless::PushButton;
using headless::PushClick;
using headless::PushMotion;
using headless::PushWindowEvent;

constexpr char kFirstStep[] = "あっちは温度がひくいよ";
constexpr char kSecondStep[] = "あっちは温度がひくいよ\r\n\r\n\r\nそんな薄着じゃさ";

// Form1 built in an empty working directory: there is no "[]" folder, so
// loading the picture fails while the form is created.
class Form1Test : public headless::ApplicationTest {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "form1-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
    previousDirectory_ = std::filesystem::current_path();
    std::filesystem::current_path(directory_);
    ApplicationTest::SetUp();
  }

  void TearDown() override {
    ApplicationTest::TearDown();
    Form1 = nullptr;
    std::filesystem::current_path(previousDirectory_);
    std::filesystem::remove_all(directory_);
  }

  // Creates Form1, working the error box with the steps given; without
  // steps the box is closed at once.
  void CreateForm1(std::vector<ModalBoxDriver::Step> steps = {}) {
    ModalBoxDriver driver(std::move(steps));
    Application->CreateForm(Form1);
    startupTexts_ = driver.Texts();
    startupTitles_ = driver.Titles();
  }

  void ShowForm1() {
    CreateForm1();
    Form1->Show();
    Application->ProcessMessages();
  }

  Uint32 Window() const { return Form1->WindowId(); }
  TPoint OnLabelFirst() const { return headless::Centre(Form1->LabelFirst->BoundsRect()); }

  std::vector<std::string> startupTexts_;
  std::vector<std::string> startupTitles_;

 private:
  std::filesystem::path directory_;
  std::filesystem::path previousDirectory_;
};

TEST_F(Form1Test, AMissingPictureIsReportedWhileTheHiddenFormIsCreatedAndStartUpGoesOn) {
  // The box stays open until the form's own timer has written the time label.
  CreateForm1(std::vector<ModalBoxDriver::Step>(500, [](TMessageForm& box) {
    if (!Form1->LabelFlash->Caption().empty()) headless::PushKey(box.WindowId(), SDLK_ESCAPE);
  }));

  EXPECT_EQ(startupTexts_, (std::vector<std::string>{"ファイル []\\sketch5422493.jpg は開けません."}));
  EXPECT_EQ(startupTitles_, (std::vector<std::string>{"Sketch"}));
  EXPECT_FALSE(Form1->LabelFlash->Caption().empty()) << "the timer ticks inside the box's loop";
  ASSERT_EQ(Application->MainForm(), Form1);
  EXPECT_TRUE(SDL_GetWindowFlags(Form1->Window()) & SDL_WINDOW_HIDDEN);
  EXPECT_TRUE(Form1->Image1->Picture().Empty());
  EXPECT_EQ(Form1->Clicks(), 0);
}

TEST_F(Form1Test, TheComponentsSitWhereTheLayoutPutsThem) {
  CreateForm1();

  EXPECT_EQ(Form1->ClientSize(), (TSize{337, 337}));
  EXPECT_EQ(Form1->Image1->BoundsRect(), (TRect{8, 8, 329, 329}));
  EXPECT_EQ(Form1->LabelTitle->BoundsRect(), (TRect{104, 0, 242, 12}));
  const TLabel& first = *Form1->LabelFirst;
  EXPECT_EQ(first.BoundsRect(), TRect::FromBounds(136, 304, MeasureLabelText(first.Font(), "* * * * * *").Width, 12));
  // The empty labels are one space wide and one line high; the stored width
  // of the time label never takes effect.
  for (const TLabel* label : {Form1->LabelTalk, Form1->LabelFlash}) {
    SCOPED_TRACE(label->Name());
    TSize space = MeasureLabelText(label->Font(), " ");
    EXPECT_EQ(label->Width(), space.Width);
    EXPECT_EQ(label->Height(), TextHeight(label->Font(), "0"));
  }
  EXPECT_EQ(Form1->LabelTalk->BoundsRect().Left, 32);
  EXPECT_EQ(Form1->LabelTalk->BoundsRect().Top, 64);
  EXPECT_EQ(Form1->LabelFlash->BoundsRect().Left, 217);
  EXPECT_EQ(Form1->LabelFlash->BoundsRect().Top, 168);
}

TEST_F(Form1Test, EachClickOnTheStartLabelIsOneStepOfTheDialogue) {
  ShowForm1();
  TRect first = Form1->LabelFirst->BoundsRect();

  PushClick(Window(), OnLabelFirst());
  Application->ProcessMessages();
  EXPECT_EQ(Form1->Clicks(), 1);
  EXPECT_EQ(Form1->LabelTalk->Caption(), kFirstStep);

  // The second press of a double-click, a click just beside the label and a
  // right-button click perform no step.
  PushClick(Window(), OnLabelFirst(), 2);
  PushClick(Window(), {first.Right, first.Top});
  PushButton(Window(), true, OnLabelFirst(), SDL_BUTTON_RIGHT);
  PushButton(Window(), false, OnLabelFirst(), SDL_BUTTON_RIGHT);
  Application->ProcessMessages();
  EXPECT_EQ(Form1->Clicks(), 1);

  PushClick(Window(), {first.Left, first.Bottom - 1});
  Application->ProcessMessages();
  EXPECT_EQ(Form1->Clicks(), 2);
  EXPECT_EQ(Form1->LabelTalk->Caption(), kSecondStep);
}

// Over a black client area, navy glyphs leave pixels with only blue in them.
bool ShowsNavy(const TRect& rect) {
  SDL_Surface* surface = SDL_GetWindowSurface(Form1->Window());
  for (int y = rect.Top; y < rect.Bottom; ++y) {
    for (int x = rect.Left; x < rect.Right; ++x) {
      TColor c = headless::PixelAt(surface, x, y);
      if (c.R == 0 && c.G == 0 && c.B > 0) return true;
    }
  }
  return false;
}

TEST_F(Form1Test, TheStartLabelTurnsNavyUnderThePointerAndWhiteWhenItLeaves) {
  ShowForm1();
  const TRect first = Form1->LabelFirst->BoundsRect();
  ASSERT_FALSE(ShowsNavy(first));

  PushMotion(Window(), OnLabelFirst());
  Application->ProcessMessages();
  EXPECT_EQ(Form1->LabelFirst->Font().Color(), clNavy);
  EXPECT_TRUE(ShowsNavy(first));
  PushMotion(Window(), {first.Left + 1, first.Top + 1});
  Application->ProcessMessages();
  EXPECT_FALSE(Form1->NeedsPaint()) << "a stream of moves repaints the label once";
  headless::RunIdleWork();

  PushMotion(Window(), {20, 20});
  Application->ProcessMessages();
  EXPECT_EQ(Form1->LabelFirst->Font().Color(), clNavy) << "the leave is noticed when the loop is idle";
  headless::RunIdleWork();
  EXPECT_EQ(Form1->LabelFirst->Font().Color(), clWhite);
  EXPECT_FALSE(ShowsNavy(first));

  // Straight from the label out of the window.
  PushMotion(Window(), OnLabelFirst());
  headless::RunIdleWork();
  ASSERT_EQ(Form1->LabelFirst->Font().Color(), clNavy);
  PushWindowEvent(Window(), SDL_WINDOWEVENT_LEAVE);
  headless::RunIdleWork();
  EXPECT_EQ(Form1->LabelFirst->Font().Color(), clWhite);
}

TEST_F(Form1Test, TheLastStepEndsTheLoopAndAClickHandledAfterItDoesNothing) {
  CreateForm1();
  for (int click = 1; click <= 114; ++click) PushClick(Window(), OnLabelFirst());
  Application->ProcessMessages();
  ASSERT_EQ(Form1->Clicks(), 114);
  ASSERT_FALSE(Application->Terminated());
  const std::string closingLine = Form1->LabelTalk->Caption();

  // Both clicks are queued before the 115th posts the quit message.
  PushClick(Window(), OnLabelFirst());
  PushClick(Window(), OnLabelFirst());
  Application->Run();

  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(Form1->Clicks(), 116);
  EXPECT_EQ(Form1->LabelTalk->Caption(), closingLine);
  EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_USEREVENT, SDL_LASTEVENT), 0)
      << "no second quit message was posted";
}

}  // namespace
