#pragma once

#include <string>

#include "TControl.h"
#include "TPicture.h"

// Shows a picture at its own size from the control's top-left corner, cut at
// the control's edges.
class TImage : public TControl {
 public:
  TImage(TCustomForm& parent, std::string name);

  TPicture& Picture() { return picture_; }

  void Paint(TCanvas& canvas) override;

 private:
  TPicture picture_;
};
