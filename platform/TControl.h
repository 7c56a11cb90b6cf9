#pragma once

#include <string>

#include "Events.h"
#include "Geometry.h"
#include "TComponent.h"

class TCanvas;
class TCustomForm;

// A visible part of a form that paints itself inside its own rectangle and
// receives the mouse there. Positions are in the form's client pixels.
class TControl : public TComponent {
 public:
  TControl(TCustomForm& parent, std::string name);

  TCustomForm& Parent() const { return parent_; }
  TRect BoundsRect() const { return bounds_; }
  int Left() const { return bounds_.Left; }
  int Top() const { return bounds_.Top; }
  int Width() const { return bounds_.Width(); }
  int Height() const { return bounds_.Height(); }
  void SetBounds(int left, int top, int width, int height);

  bool Visible() const { return visible_; }
  bool Enabled() const { return enabled_; }
  void SetVisible(bool visible);
  void SetEnabled(bool enabled) { enabled_ = enabled; }

  // Asks the form to repaint this control's rectangle.
  void Invalidate();

  // The canvas is already clipped to this control's rectangle.
  virtual void Paint(TCanvas& canvas) = 0;
  // Called once the stored layout has been read, and again after scaling.
  virtual void Loaded() {}
  // Scales the bounds (and a control's own font) by numerator / denominator.
  virtual void ScaleBy(int numerator, int denominator, int pixelsPerInch);

  // Mouse input from the form, with positions relative to the control.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y, bool doubleClick);
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  void MouseMove(TShiftState shift, int x, int y);
  void MouseLeave();
  // The press is forgotten, as when the form loses the mouse to a modal box.
  void CancelClick();

  TNotifyEvent OnClick;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseLeave;

 protected:
  virtual void Click();
  virtual void PressedChanged() {}
  bool Pressed() const { return clicked_; }

 private:
  TCustomForm& parent_;
  TRect bounds_;
  bool visible_ = true;
  bool enabled_ = true;
  bool clicked_ = false;
};
