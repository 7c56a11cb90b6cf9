#pragma once

// What the GUI tests share: a fresh application for each test, the input the
// window system would send, pixels read back from a surface, one turn of the
// loop's idle work, and a driver that works a message box from inside its
// own loop.

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Colors.h"
#include "platform/Geometry.h"
#include "platform/TApplication.h"
#include "platform/TCanvas.h"
#include "platform/TControl.h"
#include "platform/TForm.h"
#include "platform/TLabel.h"
#include "platform/TMessageForm.h"
#include "platform/TTimer.h"

namespace headless {

inline void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }

inline void PushButton(Uint32 windowId, bool down, TPoint at, Uint8 button = SDL_BUTTON_LEFT,
                       Uint8 clicks = 1) {
  SDL_Event event{};
  event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button.windowID = windowId;
  event.button.button = button;
  event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.button.clicks = clicks;
  event.button.x = at.X;
  event.button.y = at.Y;
  Push(event);
}

inline void PushClick(Uint32 windowId, TPoint at, Uint8 clicks = 1) {
  PushButton(windowId, true, at, SDL_BUTTON_LEFT, clicks);
  PushButton(windowId, false, at, SDL_BUTTON_LEFT, clicks);
}

inline void PushMotion(Uint32 windowId, TPoint at) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.windowID = windowId;
  event.motion.x = at.X;
  event.motion.y = at.Y;
  Push(event);
}

inline void PushKey(Uint32 windowId, SDL_Keycode key) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.windowID = windowId;
  event.key.state = SDL_PRESSED;
  event.key.keysym.sym = key;
  event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
  Push(event);
  event.type = SDL_KEYUP;
  event.key.state = SDL_RELEASED;
  Push(event);
}

inline void PushWindowEvent(Uint32 windowId, SDL_WindowEventID what) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = windowId;
  event.window.event = what;
  Push(event);
}

inline TPoint Centre(const TRect& rect) { return {(rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2}; }

inline TColor PixelAt(SDL_Surface* surface, int x, int y) {
  const auto* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
  Uint32 pixel = 0;
  SDL_memcpy(&pixel, row + x * surface->format->BytesPerPixel, surface->format->BytesPerPixel);
  TColor colour;
  SDL_GetRGB(pixel, surface->format, &colour.R, &colour.G, &colour.B);
  return colour;
}

// Every pixel of the rectangle has the colour.
inline bool AllPixels(SDL_Surface* surface, const TRect& rect, TColor colour) {
  for (int y = rect.Top; y < rect.Bottom; ++y) {
    for (int x = rect.Left; x < rect.Right; ++x) {
      if (!(PixelAt(surface, x, y) == colour)) return false;
    }
  }
  return true;
}

inline bool AnyPixel(SDL_Surface* surface, const TRect& rect, TColor colour) {
  for (int y = rect.Top; y < rect.Bottom; ++y) {
    for (int x = rect.Left; x < rect.Right; ++x) {
      if (PixelAt(surface, x, y) == colour) return true;
    }
  }
  return false;
}

// The loop runs its idle work whenever it finds nothing to take, before it
// sleeps. The loop is turned until a wake-up posted a little later has come,
// so the idle work has run at least once with the queue empty.
inline void RunIdleWork() {
  static std::atomic<bool> woken;
  static const Uint32 wakeUp = SDL_RegisterEvents(1);
  woken = false;
  Application->ProcessMessages();
  SDL_AddTimer(
      20,
      [](Uint32, void*) -> Uint32 {
        woken = true;
        SDL_Event event{};
        event.type = wakeUp;
        SDL_PushEvent(&event);
        return 0;
      },
      nullptr);
  while (!woken) Application->HandleMessage();
}

// What a control reported of the mouse.
struct MouseLog {
  int Clicks = 0;
  std::vector<TPoint> Moves;
  int Leaves = 0;

  void Watch(TControl& control) {
    control.OnClick = [this](TObject*) { ++Clicks; };
    control.OnMouseMove = [this](TObject*, TShiftState, int x, int y) { Moves.push_back({x, y}); };
    control.OnMouseLeave = [this](TObject*) { ++Leaves; };
  }
};

// A control that fills the whole canvas it is handed with its colour, so
// whatever shows of it is exactly what the form's clipping lets through.
class TBlock : public TControl {
 public:
  TBlock(TCustomForm& parent, std::string name, TColor colour)
      : TControl(parent, std::move(name)), colour_(colour) {}

  void Paint(TCanvas& canvas) override { canvas.FillRect({-10000, -10000, 10000, 10000}, colour_); }

 private:
  TColor colour_;
};

// A bare form of fixed client size; each test puts its own controls on it.
class TTestForm : public TForm {
 public:
  static constexpr TSize kClientSize{200, 120};

  explicit TTestForm(TApplication& application) : TForm(application, "TestForm") {
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetClientWidth(kClientSize.Width);
    SetClientHeight(kClientSize.Height);
  }

  TBlock& AddBlock(const char* name, TRect bounds, TColor colour) {
    TBlock& block = AddControl<TBlock>(name, colour);
    block.SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    return block;
  }

  // A transparent, auto-sized label, fitted to its caption at once.
  TLabel& AddLabel(const char* name, TPoint at, std::string caption, int pixels, TColor colour) {
    TLabel& label = AddControl<TLabel>(name);
    label.SetBounds(at.X, at.Y, 1, 1);
    label.SetTransparent(true);
    label.Font().SetCharset(SHIFTJIS_CHARSET);
    label.Font().SetHeight(-pixels);
    label.Font().SetColor(colour);
    label.SetCaption(std::move(caption));
    label.Loaded();
    return label;
  }
};

// A fresh application object for every test, as the program has one per run.
class ApplicationTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_TIMER), 0) << SDL_GetError();
    application_ = std::make_unique<TApplication>("/opt/piece/SKETCH.EXE");
  }
  void TearDown() override {
    application_.reset();
    SDL_QuitSubSystem(SDL_INIT_TIMER);
  }

  // Creates the test form (the main form) and shows it, painted.
  TTestForm& ShowTestForm() {
    Application->CreateForm(form_);
    form_->Show();
    Application->ProcessMessages();
    return *form_;
  }

  TTestForm* form_ = nullptr;

 private:
  std::unique_ptr<TApplication> application_;
};

// Works a message box from inside its own loop: at each timer tick while a box
// is open, the next step runs with that box. Once the steps are spent, the box
// is closed with Escape and its close box, so that a box which ignores its
// steps cannot keep a test waiting.
class ModalBoxDriver {
 public:
  using Step = std::function<void(TMessageForm& box)>;

  explicit ModalBoxDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
    timer_.SetInterval(1);
    timer_.SetOnTimer([this](TObject*) { Tick(); });
  }

  // The text and the title of each box, as it was when the driver first saw it.
  const std::vector<std::string>& Texts() const { return texts_; }
  const std::vector<std::string>& Titles() const { return titles_; }
  // Ticks that came while a box was open.
  int TicksInBox() const { return ticksInBox_; }

 private:
  void Tick() {
    TMessageForm* box = Application->ModalBox();
    if (box == nullptr) {
      seen_ = nullptr;
      return;
    }
    if (box != seen_) {
      seen_ = box;
      texts_.push_back(box->Text().Caption());
      titles_.push_back(SDL_GetWindowTitle(box->Window()));
    }
    ++ticksInBox_;
    if (next_ < steps_.size()) {
      steps_[next_++](*box);
    } else {
      PushKey(box->WindowId(), SDLK_ESCAPE);
      PushWindowEvent(box->WindowId(), SDL_WINDOWEVENT_CLOSE);
    }
  }

  std::vector<Step> steps_;
  std::size_t next_ = 0;
  TMessageForm* seen_ = nullptr;
  std::vector<std::string> texts_;
  std::vector<std::string> titles_;
  int ticksInBox_ = 0;
  TTimer timer_{"ModalBoxDriver"};
};

}  // namespace headless
