#pragma once

#include <string>

#include "Colors.h"
#include "TControl.h"
#include "TFont.h"

// A line or lines of text that fits its size to its caption, growing to the
// right and downwards from its fixed top-left corner.
class TLabel : public TControl {
 public:
  TLabel(TCustomForm& parent, std::string name);

  const std::string& Caption() const { return caption_; }
  // The caption is a code page 932 byte string; CR LF starts a new line.
  void SetCaption(std::string caption);

  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);

  void Paint(TCanvas& canvas) override;
  void Loaded() override;
  void ScaleBy(int numerator, int denominator, int pixelsPerInch) override;

 private:
  void FontChanged();
  void AdjustBounds();

  std::string caption_;
  TFont font_;
  TColor color_ = clBtnFace;
  bool transparent_ = false;
  bool loading_ = true;
};
