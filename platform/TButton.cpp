#include "TButton.h"

#include <utility>

#include "TCanvas.h"
#include "TextPainter.h"

namespace {
constexpr TColor kFace{225, 225, 225};
constexpr TColor kBorder{173, 173, 173};
constexpr TColor kFocus{0, 120, 215};
}  // namespace

TButton::TButton(TCustomForm& parent, std::string name, std::string caption)
    : TControl(parent, std::move(name)), caption_(std::move(caption)) {}

void TButton::Paint(TCanvas& canvas) {
  TRect r = BoundsRect();
  canvas.FillRect(r, kFocus);  // the default button carries the focus frame
  canvas.FillRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, Pressed() ? kBorder : kFace);
  TSize text = MeasureLabelText(font_, caption_);
  int shift = Pressed() ? 1 : 0;
  DrawLabelText(canvas, r.Left + (r.Width() - text.Width) / 2 + shift,
                r.Top + (r.Height() - text.Height) / 2 + shift, font_, caption_);
}
