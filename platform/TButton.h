#pragma once

#include <string>

#include "TControl.h"
#include "TFont.h"

// A push button with a centred caption, drawn sunken while it is held.
class TButton : public TControl {
 public:
  TButton(TCustomForm& parent, std::string name, std::string caption);

  TFont& Font() { return font_; }
  void Paint(TCanvas& canvas) override;

 protected:
  void PressedChanged() override { Invalidate(); }

 private:
  std::string caption_;
  TFont font_;
};
