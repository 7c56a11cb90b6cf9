#pragma once

#include <string>

#include "TCustomForm.h"

class TButton;
class TLabel;
class TStopIcon;

// The error message box: a stop icon, the message and one OK button, which a
// click, Enter, Space or Escape dismisses. The application runs its loop.
class TMessageForm : public TCustomForm {
 public:
  // `owner` is the window the box stays above, or null before there is one.
  TMessageForm(const std::string& text, const std::string& caption, TCustomForm* owner);

  bool Dismissed() const { return dismissed_; }
  const TLabel& Text() const { return *text_; }
  TButton& OkButton() { return *ok_; }

 protected:
  void CloseRequested() override { dismissed_ = true; }
  void KeyPressed(SDL_Keycode key) override;

 private:
  void Arrange();

  TStopIcon* icon_;
  TLabel* text_;
  TButton* ok_;
  bool dismissed_ = false;
};
