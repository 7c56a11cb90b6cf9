#include "TImage.h"

#include <utility>

TImage::TImage(TCustomForm& parent, std::string name) : TControl(parent, std::move(name)) {
  picture_.OnChange = [this] { Invalidate(); };
}

void TImage::Paint(TCanvas& canvas) {
  if (picture_.Empty()) return;
  // Nothing beyond the control can show, so the picture need not decode more.
  picture_.SetVisibleLimit({Width(), Height()});
  picture_.Draw(canvas, Left(), Top());
}
