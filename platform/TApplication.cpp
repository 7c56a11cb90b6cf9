#include "TApplication.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <new>
#include <utility>

#include "Cp932.h"
#include "Errors.h"
#include "Locale.h"
#include "MessageText.h"
#include "Screen.h"
#include "Sound.h"
#include "TJPEGImage.h"
#include "TMessageForm.h"
#include "TPicture.h"
#include "TTimer.h"
#include "X11Window.h"

TApplication* Application = nullptr;

namespace {

std::string ErrorMessage(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::bad_alloc&) {
    return "メモリが足りません";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "不明なエラーです";
  }
}

void StartWindowSystem(const std::string& windowClass) {
  // SDL reads the X11 class only from the environment, when video starts.
  setenv("SDL_VIDEO_X11_WMCLASS", windowClass.c_str(), 1);
  // A software framebuffer presented by rectangles: no GL context to bring up.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // Closing the last window is the program's decision, not SDL's.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  // A window needs a display: without one SDL would fall back to drawing
  // off screen, and the piece would run unseen. SDL_VIDEODRIVER still rules.
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    throw EOutOfResources("ウィンドウシステムに接続できません (" + std::string(SDL_GetError()) + ")");
  }
  if (SDL_strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0) IgnoreWakeupsToClosedWindows();
}

}  // namespace

TApplication::TApplication(const std::string& exeFileName)
    : TComponent("Application"),
      title_(ApplicationTitleFromFileName(exeFileName)) {
  StartWindowSystem("TForm1");
  quitEvent_ = SDL_RegisterEvents(1);
  DecimalChar = ReadDecimalSeparator();
  TJPEGImage::SetDecodeToPalette(ScreenBitsPerPixel() <= 8);
  TPicture::RegisterFileFormat("jpeg", "JPEG イメージファイル", &TJPEGImage::Create);
  TPicture::RegisterFileFormat("jpg", "JPEG イメージファイル", &TJPEGImage::Create);
  Application = this;
}

TApplication::~TApplication() {
  // The sound thread goes first, so nothing wakes the loop any more; then the
  // forms, whose timers and windows are released while the window system is up.
  StopSoundPlayer();
  windows_.clear();
  while (!forms_.empty()) forms_.pop_back();
  timers_.clear();
  TPicture::UnregisterFileFormats();
  Application = nullptr;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void TApplication::Run() {
  if (!mainForm_ || terminated_) return;
  mainForm_->Show();
  while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
  SDL_Event quit{};
  quit.type = quitEvent_;
  SDL_PushEvent(&quit);
}

void TApplication::HandleMessage() {
  if (ProcessMessage()) return;
  Idle();
  WaitMessage();
}

void TApplication::ProcessMessages() {
  while (!terminated_ && ProcessMessage()) {
  }
}

// Input and posted messages first, in the order they came; then repaints;
// then at most one timer tick, only when nothing else waits.
bool TApplication::ProcessMessage() {
  SDL_Event event;
  if (TakeMessage(event)) {
    if (event.type == quitEvent_) {
      terminated_ = true;
    } else {
      Guarded([&] { Dispatch(event); });
    }
    return true;
  }
  return PaintOne() || TickOne();
}

// SDL_PollEvent reports an empty queue at the end of each "poll cycle", even
// when messages posted meanwhile (by a handler, say) wait behind it. Those are
// taken from the queue as it stands: asking the window system again at once
// would only cost a round of system calls on every turn of the loop.
bool TApplication::TakeMessage(SDL_Event& event) {
  return SDL_PollEvent(&event) || SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1;
}

void TApplication::Dispatch(const SDL_Event& event) {
  if (event.type == SDL_QUIT) {
    // A session end or a termination signal: the window agrees to close.
    Terminate();
    return;
  }
  if (TCustomForm* form = WindowForEvent(event)) form->HandleEvent(event);
}

TCustomForm* TApplication::WindowForEvent(const SDL_Event& event) const {
  Uint32 id = 0;
  switch (event.type) {
    case SDL_WINDOWEVENT: id = event.window.windowID; break;
    case SDL_MOUSEMOTION: id = event.motion.windowID; break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: id = event.button.windowID; break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: id = event.key.windowID; break;
    default: return nullptr;
  }
  auto it = std::find_if(windows_.begin(), windows_.end(),
                         [id](TCustomForm* form) { return form->WindowId() == id; });
  return it == windows_.end() ? nullptr : *it;
}

bool TApplication::PaintOne() {
  auto it = std::find_if(windows_.begin(), windows_.end(),
                         [](TCustomForm* form) { return form->NeedsPaint(); });
  if (it == windows_.end()) return false;
  TCustomForm* form = *it;
  Guarded([form] { form->PaintInvalid(); });
  return true;
}

// A tick is delivered only when it is due; ticks missed while the program was
// busy are not made up.
bool TApplication::TickOne() {
  Uint64 now = SDL_GetTicks64();
  auto due = NextTimer();
  if (due == timers_.end() || due->due > now) return false;
  while (due->due <= now) due->due += due->interval;
  TTimer* timer = due->timer;
  Guarded([timer] { timer->Tick(); });
  return true;
}

std::vector<TApplication::TimerEntry>::iterator TApplication::NextTimer() {
  return std::min_element(timers_.begin(), timers_.end(),
                          [](const TimerEntry& a, const TimerEntry& b) { return a.due < b.due; });
}

void TApplication::Idle() {
  for (TCustomForm* form : windows_) Guarded([form] { form->CheckMouseLeave(); });
  // Not before: reaching a sound server can take longer than the whole first
  // frame. Once the loop has nothing left to do the frame is out.
  StartSoundPlayer();
}

void TApplication::WaitMessage() {
  if (terminated_ || std::any_of(windows_.begin(), windows_.end(),
                                 [](TCustomForm* form) { return form->NeedsPaint(); })) {
    return;
  }
  if (timers_.empty()) {
    SDL_WaitEvent(nullptr);
    return;
  }
  Uint64 now = SDL_GetTicks64();
  Uint64 next = NextTimer()->due;
  if (next > now) SDL_WaitEventTimeout(nullptr, static_cast<int>(next - now));
}

template <typename Action>
void TApplication::Guarded(Action action) {
  try {
    action();
  } catch (...) {
    HandleException(std::current_exception());
  }
}

void TApplication::HandleException(std::exception_ptr error) {
  MessageBox(WithFullStop(ErrorMessage(error)), title_);
}

void TApplication::MessageBox(const std::string& text, const std::string& caption) {
  TCustomForm* owner = mainForm_ && mainForm_->HandleAllocated() ? mainForm_ : nullptr;
  TMessageForm box(text, caption, owner);
  ModalScope scope(*this, box);
  box.Show();
  while (!box.Dismissed() && !terminated_) HandleMessage();
}

// While a box is open it is the only window that takes input; the other forms
// get their input back however the box's loop ends.
TApplication::ModalScope::ModalScope(TApplication& application, TMessageForm& box)
    : application_(application), box_(box), outerBox_(std::exchange(application.modalBox_, &box)) {
  for (TCustomForm* form : application_.windows_) {
    if (!form->InputEnabled()) continue;
    form->SetInputEnabled(false);
    disabled_.push_back(form);
  }
  application_.windows_.push_back(&box);
}

TApplication::ModalScope::~ModalScope() {
  std::erase(application_.windows_, &box_);
  application_.modalBox_ = outerBox_;
  for (TCustomForm* form : disabled_) form->SetInputEnabled(true);
}

void TApplication::SetTimer(TTimer& timer, unsigned interval) {
  KillTimer(timer);
  timers_.push_back({&timer, interval, SDL_GetTicks64() + interval});
}

void TApplication::KillTimer(TTimer& timer) {
  std::erase_if(timers_, [&](const TimerEntry& entry) { return entry.timer == &timer; });
}

void TApplication::AdoptForm(std::unique_ptr<TCustomForm> form) {
  if (!mainForm_) mainForm_ = form.get();
  windows_.push_back(form.get());
  forms_.push_back(std::move(form));
}
