#pragma once

#include <cstdint>
#include <string>

#include "Events.h"
#include "TCustomForm.h"
#include "TFont.h"

class TApplication;

enum TBorderIcon : std::uint8_t { biSystemMenu = 1 << 0, biMinimize = 1 << 1, biMaximize = 1 << 2 };
using TBorderIcons = std::uint8_t;
enum class TFormBorderStyle { bsSingle, bsSizeable };

// A form built from a stored layout: the settings are applied while the
// layout is read, the form scales itself to the screen once the reading is
// done, then OnCreate runs and the hidden system window is made.
class TForm : public TCustomForm {
 public:
  TForm(TApplication& application, std::string name);

  void SetLeft(int left) { position_.X = left; }
  void SetTop(int top) { position_.Y = top; }
  void SetBorderIcons(TBorderIcons icons) { borderIcons_ = icons; }
  void SetBorderStyle(TFormBorderStyle style) { borderStyle_ = style; }
  void SetClientWidth(int width) { SetClientSize({width, ClientSize().Height}); }
  void SetClientHeight(int height) { SetClientSize({ClientSize().Width, height}); }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  TFont& Font() { return font_; }
  void SetOldCreateOrder(bool oldCreateOrder) { oldCreateOrder_ = oldCreateOrder; }
  void SetPixelsPerInch(int pixelsPerInch) { pixelsPerInch_ = pixelsPerInch; }
  void SetTextHeight(int textHeight) { textHeight_ = textHeight; }
  void SetOnCreate(TNotifyEvent handler) { onCreate_ = std::move(handler); }

  // Ends the reading of the layout: scaling, then every control's own loading.
  void Loaded();
  void AfterConstruction() override;

 protected:
  void CloseRequested() override;

 private:
  void ScaleToScreen(int pixelsPerInch);
  void DoCreate();

  TApplication& application_;
  TPoint position_;
  TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  std::string caption_;
  TFont font_;
  bool oldCreateOrder_ = true;
  int pixelsPerInch_ = 96;
  int textHeight_ = 0;
  TNotifyEvent onCreate_;
};
