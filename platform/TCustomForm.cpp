#include "TCustomForm.h"

#include <algorithm>
#include <exception>

#include "Cp932.h"
#include "Errors.h"
#include "TCanvas.h"
#include "TControl.h"

namespace {

TShiftState CurrentShiftState() {
  TShiftState shift = 0;
  SDL_Keymod mod = SDL_GetModState();
  if (mod & KMOD_SHIFT) shift |= ssShift;
  if (mod & KMOD_ALT) shift |= ssAlt;
  if (mod & KMOD_CTRL) shift |= ssCtrl;
  Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
  if (buttons & SDL_BUTTON_LMASK) shift |= ssLeft;
  if (buttons & SDL_BUTTON_RMASK) shift |= ssRight;
  if (buttons & SDL_BUTTON_MMASK) shift |= ssMiddle;
  return shift;
}

bool ToMouseButton(Uint8 sdlButton, TMouseButton& button) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT: button = TMouseButton::mbLeft; return true;
    case SDL_BUTTON_RIGHT: button = TMouseButton::mbRight; return true;
    case SDL_BUTTON_MIDDLE: button = TMouseButton::mbMiddle; return true;
    default: return false;
  }
}

// Runs every step even when one fails, then raises the first failure.
template <typename Range, typename Step>
void ForEachThenRethrow(const Range& range, Step step) {
  std::exception_ptr first;
  for (const auto& item : range) {
    try {
      step(item);
    } catch (...) {
      if (!first) first = std::current_exception();
    }
  }
  if (first) std::rethrow_exception(first);
}

}  // namespace

TCustomForm::TCustomForm(std::string name) : TComponent(std::move(name)) {}

TCustomForm::~TCustomForm() {
  components_.clear();
  controls_.clear();
  if (window_) SDL_DestroyWindow(window_);
}

void TCustomForm::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  InvalidateRect({0, 0, clientSize_.Width, clientSize_.Height});
}

void TCustomForm::SetClientSize(TSize size) {
  if (size == clientSize_) return;
  clientSize_ = size;
  if (window_) SDL_SetWindowSize(window_, size.Width, size.Height);
  InvalidateRect({0, 0, size.Width, size.Height});
}

TControl* TCustomForm::ControlAtPos(TPoint point) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl& control = **it;
    if (control.Visible() && control.Enabled() && control.BoundsRect().Contains(point)) return &control;
  }
  return nullptr;
}

void TCustomForm::InvalidateRect(const TRect& rect) {
  if (!showing_) return;
  TRect clipped = rect.Intersection({0, 0, clientSize_.Width, clientSize_.Height});
  if (clipped.IsEmpty()) return;
  for (const TRect& existing : invalid_) {
    if (existing.Intersection(clipped) == clipped) return;
  }
  std::erase_if(invalid_, [&](const TRect& r) { return clipped.Intersection(r) == r; });
  invalid_.push_back(clipped);
}

void TCustomForm::PaintInvalid() {
  std::vector<TRect> rects;
  rects.swap(invalid_);
  SDL_Surface* surface = window_ ? SDL_GetWindowSurface(window_) : nullptr;
  if (!surface || rects.empty()) return;
  TCanvas canvas(surface);
  std::vector<SDL_Rect> presented;
  for (const TRect& r : rects) presented.push_back({r.Left, r.Top, r.Width(), r.Height()});
  // What did paint is presented even when a control failed.
  std::exception_ptr failure;
  try {
    ForEachThenRethrow(rects, [&](const TRect& rect) { PaintRect(canvas, rect); });
  } catch (...) {
    failure = std::current_exception();
  }
  SDL_UpdateWindowSurfaceRects(window_, presented.data(), static_cast<int>(presented.size()));
  if (failure) std::rethrow_exception(failure);
}

void TCustomForm::PaintRect(TCanvas& canvas, const TRect& rect) {
  canvas.SetClipRect(rect);
  canvas.FillRect(rect, color_);
  ForEachThenRethrow(controls_, [&](const std::unique_ptr<TControl>& control) {
    TRect area = rect.Intersection(control->BoundsRect());
    if (!control->Visible() || area.IsEmpty()) return;
    canvas.SetClipRect(area);
    control->Paint(canvas);
  });
}

void TCustomForm::Show() {
  if (showing_ || !window_) return;
  SDL_ShowWindow(window_);
  showing_ = true;
  InvalidateRect({0, 0, clientSize_.Width, clientSize_.Height});
}

void TCustomForm::SetInputEnabled(bool enabled) {
  inputEnabled_ = enabled;
  if (!enabled) ReleaseCapture();
}

void TCustomForm::CreateHandle(const std::string& title, TPoint position, Uint32 extraFlags) {
  window_ = SDL_CreateWindow(Cp932ToUtf8(title).c_str(), position.X, position.Y, clientSize_.Width,
                             clientSize_.Height, SDL_WINDOW_HIDDEN | extraFlags);
  if (!window_) throw EOutOfResources("ウィンドウを作成できません (" + std::string(SDL_GetError()) + ")");
  windowId_ = SDL_GetWindowID(window_);
}

void TCustomForm::HandleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT: HandleWindowEvent(event.window); break;
    case SDL_MOUSEMOTION: HandleMouseMotion(event.motion); break;
    case SDL_MOUSEBUTTONDOWN: HandleMouseButton(event.button, true); break;
    case SDL_MOUSEBUTTONUP: HandleMouseButton(event.button, false); break;
    case SDL_KEYDOWN:
      if (inputEnabled_) KeyPressed(event.key.keysym.sym);
      break;
    default: break;
  }
}

void TCustomForm::HandleWindowEvent(const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESTORED:
      InvalidateRect({0, 0, clientSize_.Width, clientSize_.Height});
      break;
    case SDL_WINDOWEVENT_CLOSE:
      if (inputEnabled_) CloseRequested();
      break;
    case SDL_WINDOWEVENT_LEAVE: pointerInside_ = false; break;
    default: break;
  }
}

void TCustomForm::HandleMouseMotion(const SDL_MouseMotionEvent& event) {
  TPoint point{event.x, event.y};
  pointerInside_ = true;
  pointer_ = point;
  if (!inputEnabled_ || IsMotionBeforeLeave()) return;
  if (TControl* target = MouseTarget(point)) {
    target->MouseMove(CurrentShiftState(), point.X - target->Left(), point.Y - target->Top());
  }
}

void TCustomForm::HandleMouseButton(const SDL_MouseButtonEvent& event, bool down) {
  TMouseButton button;
  if (!inputEnabled_ || !ToMouseButton(event.button, button)) return;
  TPoint point{event.x, event.y};
  TControl* target = MouseTarget(point);
  if (!target) return;
  bool left = button == TMouseButton::mbLeft;
  int x = point.X - target->Left();
  int y = point.Y - target->Top();
  if (down) {
    if (left) capture_ = target;
    // The window system pairs presses: every second quick press is the
    // second press of a double-click.
    bool doubleClick = left && event.clicks >= 2 && event.clicks % 2 == 0;
    target->MouseDown(button, CurrentShiftState() | (doubleClick ? ssDouble : 0), x, y, doubleClick);
  } else {
    if (left) capture_ = nullptr;
    target->MouseUp(button, CurrentShiftState(), x, y);
  }
}

// SDL reports a motion clamped to the window's edge just before the pointer
// leaves the window; it is no move over whatever control lies at the edge.
bool TCustomForm::IsMotionBeforeLeave() const {
  SDL_Event next;
  if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) != 1) return false;
  return next.type == SDL_WINDOWEVENT && next.window.event == SDL_WINDOWEVENT_LEAVE &&
         next.window.windowID == windowId_;
}

TControl* TCustomForm::MouseTarget(TPoint point) const {
  return capture_ ? capture_ : ControlAtPos(point);
}

void TCustomForm::ReleaseCapture() {
  if (capture_) capture_->CancelClick();
  capture_ = nullptr;
}

// Runs only once the queue is empty, so the pointer that the taken messages
// tell of is where the window system has it now.
void TCustomForm::CheckMouseLeave() {
  TControl* current = pointerInside_ ? ControlAtPos(pointer_) : nullptr;
  if (current == mouseControl_) return;
  TControl* previous = mouseControl_;
  mouseControl_ = current;
  if (previous) previous->MouseLeave();
}
