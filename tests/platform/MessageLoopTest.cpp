#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Cp932.h"
#include "platform/Errors.h"
#include "platform/TButton.h"
#include "platform/TCanvas.h"
#include "platform/TLabel.h"
#include "platform/TMessageForm.h"
#include "platform/TTimer.h"
#include "tests/platform/HeadlessGui.h"

namespace {

using headless::Centre;
using headless::ModalBoxDriver;
using headless::MouseLog;
using headless::PushButton;
using headless::PushClick;
using headless::PushKey;
using headless::PushMotion;
using headless::PushWindowEvent;

constexpr TColor kGrey{128, 128, 128};
constexpr TRect kBlockRect{20, 20, 80, 80};
constexpr TPoint kOnBlock{50, 50};

class MessageLoop : public headless::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    block_ = &ShowTestForm().AddBlock("Block", kBlockRect, kGrey);
    mouse_.Watch(*block_);
  }

  Uint32 Window() const { return form_->WindowId(); }

  TControl* block_ = nullptr;
  MouseLog mouse_;
};

// ---- Timers ----

TEST_F(MessageLoop, ATimerTicksOnlyFromTheLoopAndMissedTicksAreNotMadeUp) {
  int ticks = 0;
  TTimer timer("Timer");
  timer.SetInterval(50);
  timer.SetOnTimer([&](TObject*) { ++ticks; });

  SDL_Delay(250);  // five intervals in which nobody takes messages
  EXPECT_EQ(ticks, 0);
  Application->ProcessMessages();
  EXPECT_EQ(ticks, 1);
  Application->ProcessMessages();
  EXPECT_EQ(ticks, 1);
}

TEST_F(MessageLoop, AnIdleLoopSleepsUntilTheNextTickIsDue) {
  int ticks = 0;
  TTimer timer("Timer");
  timer.SetInterval(30);
  timer.SetOnTimer([&](TObject*) { ++ticks; });
  Uint64 start = SDL_GetTicks64();
  while (ticks == 0) Application->HandleMessage();
  Uint64 elapsed = SDL_GetTicks64() - start;
  EXPECT_GE(elapsed, 29u);
  EXPECT_LT(elapsed, 1000u);
}

TEST_F(MessageLoop, ATickWaitsUntilTheQueuedMessagesAndRepaintsAreDone) {
  TLabel& label = form_->AddLabel("Label", {100, 20}, "0", 12, clWhite);
  std::vector<std::string> log;
  block_->OnMouseMove = [&](TObject*, TShiftState, int x, int) {
    log.push_back("move");
    label.SetCaption(std::to_string(x));
  };
  bool paintPendingAtTick = true;
  TTimer timer("Timer");
  timer.SetInterval(10);
  timer.SetOnTimer([&](TObject*) {
    log.push_back("tick");
    paintPendingAtTick = form_->NeedsPaint();
  });
  SDL_Delay(30);
  for (int x : {30, 40, 50}) PushMotion(Window(), {x, 50});

  Application->ProcessMessages();

  EXPECT_EQ(log, (std::vector<std::string>{"move", "move", "move", "tick"}));
  EXPECT_FALSE(paintPendingAtTick);
}

// A handler's own message lands behind the marker with which SDL ends a poll
// cycle; it still waits, so the tick still comes after it.
TEST_F(MessageLoop, ATickWaitsForAMessageThatAHandlerPosted) {
  std::vector<std::string> log;
  block_->OnClick = [&](TObject*) {
    log.push_back("click");
    PushMotion(Window(), kOnBlock);
  };
  block_->OnMouseMove = [&](TObject*, TShiftState, int, int) { log.push_back("move"); };
  TTimer timer("Timer");
  timer.SetInterval(10);
  timer.SetOnTimer([&](TObject*) { log.push_back("tick"); });
  Application->ProcessMessages();  // nothing left to paint
  SDL_Delay(30);
  PushClick(Window(), kOnBlock);

  Application->ProcessMessages();

  EXPECT_EQ(log, (std::vector<std::string>{"click", "move", "tick"}));
}

// Notes whether the audio system was up whenever it painted.
class TAudioWatchingBlock : public headless::TBlock {
 public:
  TAudioWatchingBlock(TCustomForm& parent, std::string name) : TBlock(parent, std::move(name), kGrey) {}

  void Paint(TCanvas& canvas) override {
    AudioUpAtPaint.push_back(SDL_WasInit(SDL_INIT_AUDIO) != 0);
    TBlock::Paint(canvas);
  }

  std::vector<bool> AudioUpAtPaint;
};

TEST_F(MessageLoop, TheAudioSystemStartsOnlyAfterTheFirstFrame) {
  auto& watcher = form_->AddControl<TAudioWatchingBlock>("Watcher");
  watcher.SetBounds(100, 20, 40, 40);
  std::optional<bool> audioUpAtTick;
  TTimer timer("Timer");
  timer.SetInterval(30);
  timer.SetOnTimer([&](TObject*) {
    audioUpAtTick = SDL_WasInit(SDL_INIT_AUDIO) != 0;
    Application->Terminate();
  });

  Application->Run();

  ASSERT_FALSE(watcher.AudioUpAtPaint.empty()) << "the new control was never painted";
  EXPECT_FALSE(watcher.AudioUpAtPaint.front()) << "the audio system started before the frame was out";
  EXPECT_EQ(audioUpAtTick, true) << "the audio system was not up by the first tick";
}

// ---- Ending the loop ----

TEST_F(MessageLoop, TerminatePostsTheQuitMessageAndReturnsAtOnce) {
  bool handlerFinished = false;
  block_->OnClick = [&](TObject*) {
    Application->Terminate();
    EXPECT_FALSE(Application->Terminated());
    handlerFinished = true;
  };
  PushClick(Window(), kOnBlock);
  PushMotion(Window(), kOnBlock);  // queued before the quit message

  Application->Run();

  EXPECT_TRUE(Application->Terminated());
  EXPECT_TRUE(handlerFinished);
  EXPECT_EQ(mouse_.Moves.size(), 1u);
}

TEST_F(MessageLoop, NothingBehindTheQuitMessageIsDispatched) {
  PushMotion(Window(), kOnBlock);
  Application->Terminate();
  PushMotion(Window(), kOnBlock);
  PushClick(Window(), kOnBlock);

  Application->Run();

  EXPECT_EQ(mouse_.Moves.size(), 1u);
  EXPECT_EQ(mouse_.Clicks, 0);
}

TEST_F(MessageLoop, ClosingTheMainWindowTerminates) {
  PushWindowEvent(Window(), SDL_WINDOWEVENT_CLOSE);
  Application->ProcessMessages();
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(MessageLoop, TheEndOfTheSessionTerminates) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  headless::Push(quit);
  Application->ProcessMessages();
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(MessageLoop, ClosingAnotherWindowDoesNotTerminate) {
  headless::TTestForm* second = nullptr;
  Application->CreateForm(second);
  second->Show();
  PushWindowEvent(second->WindowId(), SDL_WINDOWEVENT_CLOSE);
  Application->ProcessMessages();
  EXPECT_FALSE(Application->Terminated());
}

// ---- The message box ----

class ModalBox : public MessageLoop {};

TEST_F(ModalBox, ShowsItsTextUnderTheCaptionGiven) {
  ModalBoxDriver driver({});
  Application->MessageBox("一行目\n二行目", "見出し");
  ASSERT_EQ(driver.Texts().size(), 1u);
  EXPECT_EQ(driver.Texts()[0], "一行目\r\n二行目");
  EXPECT_EQ(driver.Titles()[0], Cp932ToUtf8("見出し"));
  EXPECT_EQ(Application->ModalBox(), nullptr);
}

TEST_F(ModalBox, KeepsTimersTickingAndWindowsRepainting) {
  TLabel& label = form_->AddLabel("Label", {100, 20}, "before", 12, clWhite);
  Application->ProcessMessages();
  int ticks = 0;
  TTimer timer("Timer");
  timer.SetInterval(5);
  timer.SetOnTimer([&](TObject*) { ++ticks; });
  int ticksWhenOpened = -1;
  bool paintPending = true;
  std::vector<ModalBoxDriver::Step> steps{
      [&](TMessageForm&) {
        ticksWhenOpened = ticks;
        label.SetCaption("during");
      },
      [&](TMessageForm&) { paintPending = form_->NeedsPaint(); }};
  steps.resize(40, [](TMessageForm&) {});
  ModalBoxDriver driver(steps);

  Application->MessageBox("text", "caption");

  EXPECT_EQ(driver.TicksInBox(), 41);
  EXPECT_GT(ticks, ticksWhenOpened);
  EXPECT_FALSE(paintPending);
}

TEST_F(ModalBox, TheOtherWindowsTakeNoInputWhileItIsOpen) {
  ModalBoxDriver driver({[&](TMessageForm&) {
                           PushMotion(Window(), kOnBlock);
                           PushClick(Window(), kOnBlock);
                           PushWindowEvent(Window(), SDL_WINDOWEVENT_CLOSE);
                         },
                         [](TMessageForm&) {}});
  Application->MessageBox("text", "caption");
  Application->ProcessMessages();
  EXPECT_EQ(mouse_.Clicks, 0);
  EXPECT_TRUE(mouse_.Moves.empty());
  EXPECT_FALSE(Application->Terminated());

  PushClick(Window(), kOnBlock);
  Application->ProcessMessages();
  EXPECT_EQ(mouse_.Clicks, 1) << "input comes back when the box is gone";
}

TEST_F(ModalBox, APressMadeBeforeItOpenedClicksNothing) {
  PushButton(Window(), true, kOnBlock);
  Application->ProcessMessages();
  ModalBoxDriver driver({[&](TMessageForm&) { PushButton(Window(), false, kOnBlock); }});
  Application->MessageBox("text", "caption");
  PushButton(Window(), false, kOnBlock);
  Application->ProcessMessages();
  EXPECT_EQ(mouse_.Clicks, 0);
}

struct BoxInput {
  const char* name;
  std::function<void(TMessageForm&)> give;
  bool dismisses;
};

void PrintTo(const BoxInput& input, std::ostream* os) { *os << input.name; }

void PushKeyTo(TMessageForm& box, SDL_Keycode key) { PushKey(box.WindowId(), key); }

TPoint OkCentre(TMessageForm& box) { return Centre(box.OkButton().BoundsRect()); }

class BoxInputs : public ModalBox, public testing::WithParamInterface<BoxInput> {};

TEST_P(BoxInputs, DismissTheBoxOrNot) {
  ModalBoxDriver driver({GetParam().give, [](TMessageForm&) {}});
  Application->MessageBox("text", "caption");
  // Dismissed by the input, the box sees one tick; otherwise the driver
  // closes it after two more.
  EXPECT_EQ(driver.TicksInBox(), GetParam().dismisses ? 1 : 3);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, BoxInputs,
    testing::Values(
        BoxInput{"Enter", [](TMessageForm& box) { PushKeyTo(box, SDLK_RETURN); }, true},
        BoxInput{"KeypadEnter", [](TMessageForm& box) { PushKeyTo(box, SDLK_KP_ENTER); }, true},
        BoxInput{"Space", [](TMessageForm& box) { PushKeyTo(box, SDLK_SPACE); }, true},
        BoxInput{"Escape", [](TMessageForm& box) { PushKeyTo(box, SDLK_ESCAPE); }, true},
        BoxInput{"CloseBox", [](TMessageForm& box) { PushWindowEvent(box.WindowId(), SDL_WINDOWEVENT_CLOSE); },
                 true},
        BoxInput{"ClickOnOk", [](TMessageForm& box) { PushClick(box.WindowId(), OkCentre(box)); }, true},
        BoxInput{"LetterKey", [](TMessageForm& box) { PushKeyTo(box, SDLK_a); }, false},
        BoxInput{"ClickOnTheText",
                 [](TMessageForm& box) { PushClick(box.WindowId(), Centre(box.Text().BoundsRect())); }, false},
        BoxInput{"PressOnOkReleaseBeside",
                 [](TMessageForm& box) {
                   PushButton(box.WindowId(), true, OkCentre(box));
                   PushButton(box.WindowId(), false, {box.OkButton().BoundsRect().Right + 5, OkCentre(box).Y});
                 },
                 false},
        BoxInput{"KeyToTheOtherWindow", [](TMessageForm&) { PushKey(Application->MainForm()->WindowId(), SDLK_RETURN); },
                 false}),
    [](const testing::TestParamInfo<BoxInput>& info) { return std::string(info.param.name); });

// ---- Errors that escape a handler ----

// A control whose first paint fails.
class TFaultyBlock : public headless::TBlock {
 public:
  using TBlock::TBlock;
  void Paint(TCanvas& canvas) override {
    TBlock::Paint(canvas);
    if (!failed_) {
      failed_ = true;
      throw EJPEG("JPEG エラー #41");
    }
  }

 private:
  bool failed_ = false;
};

TEST_F(MessageLoop, AnErrorFromAClickIsShownWithAFullStopAndTheLoopGoesOn) {
  block_->OnClick = [](TObject*) { throw EFOpenError("ファイル x は開けません"); };
  ModalBoxDriver driver({});
  PushClick(Window(), kOnBlock);
  Application->ProcessMessages();

  EXPECT_EQ(driver.Texts(), (std::vector<std::string>{"ファイル x は開けません."}));
  EXPECT_EQ(driver.Titles(), (std::vector<std::string>{"Sketch"}));
  PushMotion(Window(), kOnBlock);
  Application->ProcessMessages();
  EXPECT_EQ(mouse_.Moves.size(), 1u);
}

TEST_F(MessageLoop, AnErrorFromATickIsShownAndTheTimerGoesOn) {
  int ticks = 0;
  TTimer timer("Timer");
  timer.SetInterval(5);
  timer.SetOnTimer([&](TObject*) {
    if (++ticks == 1) throw EOutOfMemory("メモリが足りません");
  });
  ModalBoxDriver driver({});
  while (ticks < 3) Application->HandleMessage();
  EXPECT_EQ(driver.Texts(), (std::vector<std::string>{"メモリが足りません."}));
}

TEST_F(MessageLoop, AnErrorWhilePaintingIsShownOnceTheRestIsPainted) {
  form_->AddControl<TFaultyBlock>("Faulty", kGrey).SetBounds(100, 20, 40, 40);
  form_->AddBlock("Later", {120, 70, 180, 110}, clWhite);
  ModalBoxDriver driver({});

  Application->ProcessMessages();

  EXPECT_EQ(driver.Texts(), (std::vector<std::string>{"JPEG エラー #41."}));
  SDL_Surface* surface = SDL_GetWindowSurface(form_->Window());
  EXPECT_EQ(headless::PixelAt(surface, 150, 90), clWhite);
}

}  // namespace
