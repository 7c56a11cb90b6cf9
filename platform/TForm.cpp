#include "TForm.h"

#include "AppIcon.h"
#include "Screen.h"
#include "TApplication.h"
#include "TControl.h"
#include "TextPainter.h"
#include "X11Window.h"

TForm::TForm(TApplication& application, std::string name)
    : TCustomForm(std::move(name)), application_(application) {}

void TForm::Loaded() {
  // Forms of this library are always scaled to the screen they open on.
  ScaleToScreen(ScreenPixelsPerInch());
  for (const auto& control : Controls()) control->Loaded();
  if (oldCreateOrder_) DoCreate();
}

// Made for pixelsPerInch_; on another screen the form's font follows the
// screen, and the whole layout follows the height of "0" in that font.
void TForm::ScaleToScreen(int pixelsPerInch) {
  if (pixelsPerInch != pixelsPerInch_) font_.SetHeight(MulDiv(font_.Height(), pixelsPerInch, pixelsPerInch_));
  int height = TextHeight(font_, "0");
  if (height == textHeight_ || textHeight_ == 0) return;
  for (const auto& control : Controls()) control->ScaleBy(height, textHeight_, pixelsPerInch);
  SetClientSize({MulDiv(ClientSize().Width, height, textHeight_), MulDiv(ClientSize().Height, height, textHeight_)});
}

void TForm::AfterConstruction() {
  if (!oldCreateOrder_) DoCreate();
  Uint32 flags = borderStyle_ == TFormBorderStyle::bsSizeable ? SDL_WINDOW_RESIZABLE : 0;
  CreateHandle(caption_, position_, flags);
  SetApplicationIcon(Window());
  ApplyWindowManagerHints(Window(), application_.Title(), (borderIcons_ & biMaximize) != 0,
                          (borderIcons_ & biMinimize) != 0);
}

void TForm::DoCreate() {
  if (!onCreate_) return;
  try {
    onCreate_(this);
  } catch (...) {
    application_.HandleException(std::current_exception());
  }
}

void TForm::CloseRequested() {
  if (application_.MainForm() == this) application_.Terminate();
}
