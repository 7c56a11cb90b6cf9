#pragma once

#include <SDL2/SDL.h>

#include <memory>
#include <string>
#include <vector>

#include "Colors.h"
#include "Geometry.h"
#include "TComponent.h"

class TCanvas;
class TControl;

// A top-level window with its controls: owns the system window, keeps the
// invalid region, paints it from the controls in z-order and presents only the
// changed rectangles, and routes the mouse to the control under it.
class TCustomForm : public TComponent {
 public:
  explicit TCustomForm(std::string name);
  ~TCustomForm() override;

  // Creates a control owned by this form, on top of the z-order.
  template <typename Control, typename... Args>
  Control& AddControl(Args&&... args) {
    auto control = std::make_unique<Control>(*this, std::forward<Args>(args)...);
    Control& result = *control;
    controls_.push_back(std::move(control));
    return result;
  }
  const std::vector<std::unique_ptr<TControl>>& Controls() const { return controls_; }
  // Creates a component without a place on the form (a timer), owned by it.
  template <typename Component, typename... Args>
  Component& AddComponent(Args&&... args) {
    auto component = std::make_unique<Component>(std::forward<Args>(args)...);
    Component& result = *component;
    components_.push_back(std::move(component));
    return result;
  }

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TSize ClientSize() const { return clientSize_; }
  void SetClientSize(TSize size);

  // The topmost visible, enabled control whose rectangle holds the point.
  TControl* ControlAtPos(TPoint point) const;

  void InvalidateRect(const TRect& rect);
  bool NeedsPaint() const { return !invalid_.empty(); }
  // Paints the invalid region into the window surface and presents it. An
  // error raised by a control is rethrown once everything else is painted.
  void PaintInvalid();
  // Paints a rectangle into any surface: black, then every control in z-order.
  void PaintRect(TCanvas& canvas, const TRect& rect);

  // Runs once the constructor has finished, before the form is adopted.
  virtual void AfterConstruction() {}

  SDL_Window* Window() const { return window_; }
  bool HandleAllocated() const { return window_ != nullptr; }
  Uint32 WindowId() const { return windowId_; }
  bool Showing() const { return showing_; }
  void Show();

  // A disabled form takes no mouse or keyboard input (while a modal box is open).
  bool InputEnabled() const { return inputEnabled_; }
  void SetInputEnabled(bool enabled);

  // Everything the message loop takes for this window.
  void HandleEvent(const SDL_Event& event);
  // Called when the loop falls idle: notices the pointer leaving a control.
  void CheckMouseLeave();

 protected:
  // Creates the hidden system window; raises EOutOfResources if refused.
  void CreateHandle(const std::string& title, TPoint position, Uint32 extraFlags);
  virtual void CloseRequested() {}
  virtual void KeyPressed(SDL_Keycode) {}

 private:
  void HandleMouseButton(const SDL_MouseButtonEvent& event, bool down);
  void HandleMouseMotion(const SDL_MouseMotionEvent& event);
  void HandleWindowEvent(const SDL_WindowEvent& event);
  bool IsMotionBeforeLeave() const;
  TControl* MouseTarget(TPoint point) const;
  void ReleaseCapture();

  std::vector<std::unique_ptr<TControl>> controls_;
  std::vector<std::unique_ptr<TComponent>> components_;
  TColor color_ = clBlack;
  TSize clientSize_{320, 240};
  std::vector<TRect> invalid_;
  SDL_Window* window_ = nullptr;
  Uint32 windowId_ = 0;
  bool showing_ = false;
  bool inputEnabled_ = true;
  TControl* capture_ = nullptr;
  TControl* mouseControl_ = nullptr;
  // Where the pointer is, as the messages taken so far tell it.
  bool pointerInside_ = false;
  TPoint pointer_;
};
