#include "TControl.h"

#include "TCustomForm.h"

TControl::TControl(TCustomForm& parent, std::string name)
    : TComponent(std::move(name)), parent_(parent) {}

void TControl::SetBounds(int left, int top, int width, int height) {
  TRect bounds = TRect::FromBounds(left, top, width, height);
  if (bounds == bounds_) return;
  Invalidate();
  bounds_ = bounds;
  Invalidate();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  parent_.InvalidateRect(bounds_);
}

void TControl::Invalidate() {
  if (visible_) parent_.InvalidateRect(bounds_);
}

void TControl::ScaleBy(int numerator, int denominator, int) {
  int left = MulDiv(bounds_.Left, numerator, denominator);
  int top = MulDiv(bounds_.Top, numerator, denominator);
  int width = MulDiv(bounds_.Right, numerator, denominator) - left;
  int height = MulDiv(bounds_.Bottom, numerator, denominator) - top;
  SetBounds(left, top, width, height);
}

void TControl::MouseDown(TMouseButton button, TShiftState, int, int, bool doubleClick) {
  // The second press of a double-click does not mark the control, so its
  // release reports no click: a double-click is one click.
  if (button != TMouseButton::mbLeft) return;
  clicked_ = !doubleClick;
  PressedChanged();
}

void TControl::MouseUp(TMouseButton button, TShiftState, int x, int y) {
  if (button != TMouseButton::mbLeft || !clicked_) return;
  clicked_ = false;
  PressedChanged();
  if (TRect{0, 0, Width(), Height()}.Contains({x, y})) Click();
}

void TControl::CancelClick() {
  if (!clicked_) return;
  clicked_ = false;
  PressedChanged();
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}
