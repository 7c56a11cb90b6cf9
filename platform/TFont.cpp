#include "TFont.h"

#include <utility>

#include "Geometry.h"

void TFont::SetName(std::string name) {
  if (name == name_) return;
  name_ = std::move(name);
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}

void TFont::SetStyle(TFontStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TFont::SetCharset(std::uint8_t charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

void TFont::ScaleBy(int numerator, int denominator, int pixelsPerInch) {
  int points = MulDiv(-height_, 72, pixelsPerInch);
  points = MulDiv(points, numerator, denominator);
  SetHeight(-MulDiv(points, pixelsPerInch, 72));
}

void TFont::Changed() {
  if (OnChange) OnChange();
}
