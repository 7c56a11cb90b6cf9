#include "TMessageForm.h"

#include <algorithm>

#include "TButton.h"
#include "TLabel.h"
#include "TStopIcon.h"

namespace {

constexpr TColor kBoxColour{240, 240, 240};
constexpr int kMargin = 16;
constexpr int kGap = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kMinimumWidth = 200;

// The label breaks lines at CR LF; reports may break them with a lone LF.
std::string WithCrLf(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

void UseBoxFont(TFont& font) {
  font.SetCharset(SHIFTJIS_CHARSET);
  font.SetHeight(-12);
  font.SetColor(clBlack);
}

}  // namespace

TMessageForm::TMessageForm(const std::string& text, const std::string& caption, TCustomForm* owner)
    : TCustomForm("MessageForm") {
  SetColor(kBoxColour);
  icon_ = &AddControl<TStopIcon>("Image");
  text_ = &AddControl<TLabel>("Message");
  UseBoxFont(text_->Font());
  text_->SetTransparent(true);
  text_->SetCaption(WithCrLf(text));
  text_->Loaded();
  ok_ = &AddControl<TButton>("OK", "OK");
  UseBoxFont(ok_->Font());
  ok_->OnClick = [this](TObject*) { dismissed_ = true; };
  Arrange();
  TPoint centre{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED};
  CreateHandle(caption, centre, 0);
  if (owner) SDL_SetWindowModalFor(Window(), owner->Window());
}

void TMessageForm::Arrange() {
  int textLeft = kMargin + TStopIcon::kSize + kGap;
  int contentHeight = std::max(TStopIcon::kSize, text_->Height());
  icon_->SetBounds(kMargin, kMargin, TStopIcon::kSize, TStopIcon::kSize);
  text_->SetBounds(textLeft, kMargin + (contentHeight - text_->Height()) / 2, text_->Width(), text_->Height());
  int width = std::max(kMinimumWidth, textLeft + text_->Width() + kMargin);
  int buttonTop = kMargin + contentHeight + kMargin;
  ok_->SetBounds((width - kButtonWidth) / 2, buttonTop, kButtonWidth, kButtonHeight);
  SetClientSize({width, buttonTop + kButtonHeight + kGap});
}

void TMessageForm::KeyPressed(SDL_Keycode key) {
  switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_SPACE:
    case SDLK_ESCAPE: dismissed_ = true; break;
    default: break;
  }
}
