#include "TLabel.h"

#include <utility>

#include "TCanvas.h"
#include "TextPainter.h"

TLabel::TLabel(TCustomForm& parent, std::string name) : TControl(parent, std::move(name)) {
  font_.OnChange = [this] { FontChanged(); };
}

void TLabel::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  AdjustBounds();
  Invalidate();
}

void TLabel::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Invalidate();
}

void TLabel::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Invalidate();
}

void TLabel::Paint(TCanvas& canvas) {
  if (!transparent_) canvas.FillRect(BoundsRect(), color_);
  DrawLabelText(canvas, Left(), Top(), font_, caption_);
}

void TLabel::Loaded() {
  loading_ = false;
  AdjustBounds();
}

void TLabel::ScaleBy(int numerator, int denominator, int pixelsPerInch) {
  TControl::ScaleBy(numerator, denominator, pixelsPerInch);
  font_.ScaleBy(numerator, denominator, pixelsPerInch);
}

void TLabel::FontChanged() {
  AdjustBounds();
  Invalidate();
}

// While the layout is read a label keeps its stored size; afterwards it takes
// the size of its text, measured as it will be drawn.
void TLabel::AdjustBounds() {
  if (loading_) return;
  TSize size = MeasureLabelText(font_, caption_);
  SetBounds(Left(), Top(), size.Width, size.Height);
}
