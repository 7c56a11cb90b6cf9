#include "ui/Main.h"

#include <optional>
#include <variant>

#include "ambience/clock.h"
#include "ambience/random.h"
#include "ambience/time_text.h"
#include "dialogue/TalkStep.h"
#include "platform/Locale.h"
#include "platform/Sound.h"
#include "platform/TApplication.h"
#include "platform/TImage.h"
#include "platform/TLabel.h"
#include "platform/TTimer.h"

TForm1* Form1 = nullptr;

namespace {

// ---------------------------------------------------------------------------
// The stored layout: the form's settings and its components in creation
// order, which is also their z-order from the bottom up. Settings that are
// left out keep their defaults (labels fit themselves to their text and
// reach the mouse; the picture is drawn unstretched from its top-left corner;
// the timer is enabled).

using NotifyHandler = void (TForm1::*)(TObject*);
using MouseMoveHandler = void (TForm1::*)(TObject*, TShiftState, int, int);

constexpr const char* kFaceName = "ＭＳ Ｐゴシック";

struct FontSettings {
  std::uint8_t Charset;
  TColor Color;
  int Height;
  const char* Name;
  TFontStyle Style;
};

struct FormLayout {
  int Left;
  int Top;
  TBorderIcons BorderIcons;
  TFormBorderStyle BorderStyle;
  int ClientHeight;
  int ClientWidth;
  TColor Color;
  FontSettings Font;
  bool OldCreateOrder;
  NotifyHandler OnCreate;
  int PixelsPerInch;
  int TextHeight;
};

struct ImageLayout {
  TImage* TForm1::*Field;
  const char* Name;
  int Left, Top, Width, Height;
};

struct LabelLayout {
  TLabel* TForm1::*Field;
  const char* Name;
  int Left, Top, Width, Height;
  const char* Caption;
  std::optional<TColor> Color;  // the background, drawn only when opaque
  FontSettings Font;
  bool Transparent;
  NotifyHandler OnClick;
  MouseMoveHandler OnMouseMove;
  NotifyHandler OnMouseLeave;
};

struct TimerLayout {
  TTimer* TForm1::*Field;
  const char* Name;
  unsigned Interval;
  NotifyHandler OnTimer;
};

using ComponentLayout = std::variant<ImageLayout, LabelLayout, TimerLayout>;

constexpr FormLayout kForm1{
    .Left = 241,
    .Top = 145,
    .BorderIcons = biSystemMenu | biMinimize,
    .BorderStyle = TFormBorderStyle::bsSingle,
    .ClientHeight = 337,
    .ClientWidth = 337,
    .Color = clBlack,
    .Font = {SHIFTJIS_CHARSET, clWhite, -12, kFaceName, TFontStyle::Regular},
    .OldCreateOrder = false,
    .OnCreate = &TForm1::FormCreate,
    .PixelsPerInch = 96,
    .TextHeight = 12,
};

const ComponentLayout kComponents[] = {
    ImageLayout{&TForm1::Image1, "Image1", 8, 8, 321, 321},
    LabelLayout{&TForm1::LabelTitle, "LabelTitle", 104, 0, 138, 12,
                "：：：；：：：；：：：：：ｉｉ：：：：：：：：：", std::nullopt,
                {SHIFTJIS_CHARSET, clBlue, -12, kFaceName, TFontStyle::Regular}, true,
                nullptr, nullptr, nullptr},
    LabelLayout{&TForm1::LabelFlash, "LabelFlash", 217, 168, 127, 3, "", std::nullopt,
                {SHIFTJIS_CHARSET, clWhite, -3, kFaceName, TFontStyle::Regular}, true,
                nullptr, nullptr, nullptr},
    LabelLayout{&TForm1::LabelFirst, "LabelFirst", 136, 304, 67, 12, "* * * * * *", clSilver,
                {SHIFTJIS_CHARSET, clWhite, -12, kFaceName, TFontStyle::Bold}, true,
                &TForm1::LabelFirstClick, &TForm1::LabelFirstMouseMove, &TForm1::LabelFirstMouseLeave},
    LabelLayout{&TForm1::LabelTalk, "LabelTalk", 32, 64, 5, 15, "", std::nullopt,
                {SHIFTJIS_CHARSET, clWhite, -15, kFaceName, TFontStyle::Regular}, true,
                nullptr, nullptr, nullptr},
    TimerLayout{&TForm1::Timer1, "Timer1", 60, &TForm1::Timer1Timer},
};

// ---------------------------------------------------------------------------
// Reading the layout.

void ApplyFont(TFont& font, const FontSettings& settings) {
  font.SetCharset(settings.Charset);
  font.SetColor(settings.Color);
  font.SetHeight(settings.Height);
  font.SetName(settings.Name);
  font.SetStyle(settings.Style);
}

TNotifyEvent Bind(TForm1& form, NotifyHandler handler) {
  if (!handler) return nullptr;
  return [&form, handler](TObject* sender) { (form.*handler)(sender); };
}

TMouseMoveEvent Bind(TForm1& form, MouseMoveHandler handler) {
  if (!handler) return nullptr;
  return [&form, handler](TObject* sender, TShiftState shift, int x, int y) {
    (form.*handler)(sender, shift, x, y);
  };
}

void ReadForm(TForm1& form, const FormLayout& layout) {
  form.SetLeft(layout.Left);
  form.SetTop(layout.Top);
  form.SetBorderIcons(layout.BorderIcons);
  form.SetBorderStyle(layout.BorderStyle);
  form.SetClientHeight(layout.ClientHeight);
  form.SetClientWidth(layout.ClientWidth);
  form.SetColor(layout.Color);
  ApplyFont(form.Font(), layout.Font);
  form.SetOldCreateOrder(layout.OldCreateOrder);
  form.SetOnCreate(Bind(form, layout.OnCreate));
  form.SetPixelsPerInch(layout.PixelsPerInch);
  form.SetTextHeight(layout.TextHeight);
}

struct ComponentReader {
  TForm1& form;

  void operator()(const ImageLayout& layout) const {
    TImage& image = form.AddControl<TImage>(layout.Name);
    form.*layout.Field = &image;
    image.SetBounds(layout.Left, layout.Top, layout.Width, layout.Height);
  }

  void operator()(const LabelLayout& layout) const {
    TLabel& label = form.AddControl<TLabel>(layout.Name);
    form.*layout.Field = &label;
    label.SetBounds(layout.Left, layout.Top, layout.Width, layout.Height);
    label.SetCaption(layout.Caption);
    if (layout.Color) label.SetColor(*layout.Color);
    ApplyFont(label.Font(), layout.Font);
    label.SetTransparent(layout.Transparent);
    label.OnClick = Bind(form, layout.OnClick);
    label.OnMouseMove = Bind(form, layout.OnMouseMove);
    label.OnMouseLeave = Bind(form, layout.OnMouseLeave);
  }

  void operator()(const TimerLayout& layout) const {
    TTimer& timer = form.AddComponent<TTimer>(layout.Name);
    form.*layout.Field = &timer;
    timer.SetInterval(layout.Interval);
    timer.SetOnTimer(Bind(form, layout.OnTimer));  // the timer starts running here
  }
};

constexpr const char* kPictureFile = "[]\\sketch5422493.jpg";
constexpr const char* kChimeFile = "[]\\r1.wav";

}  // namespace

TForm1::TForm1(TApplication& application) : TForm(application, "Form1") {
  ReadForm(*this, kForm1);
  for (const ComponentLayout& component : kComponents) std::visit(ComponentReader{*this}, component);
  Loaded();
}

// ---------------------------------------------------------------------------
// Event handlers.

void TForm1::FormCreate(TObject*) {
  RandomState = static_cast<std::uint32_t>(UtcMillisecondsOfDay());
  Image1->Picture().LoadFromFile(kPictureFile);
  ClickCount = 0;
}

void TForm1::Timer1Timer(TObject*) {
  LabelFlash->SetCaption(FormatGeneral15(TimeOfDayFraction(), DecimalChar));
  if (RandomBelow(50) == 1) PlaySoundFile(kChimeFile);
}

void TForm1::LabelFirstClick(TObject*) {
  ++ClickCount;
  TalkOutcome outcome = PerformTalkStep(ClickCount, LabelTalk->Caption());
  if (outcome.caption) LabelTalk->SetCaption(std::move(*outcome.caption));
  if (outcome.terminate) Application->Terminate();
}

void TForm1::LabelFirstMouseMove(TObject*, TShiftState, int, int) { LabelFirst->Font().SetColor(clNavy); }

void TForm1::LabelFirstMouseLeave(TObject*) { LabelFirst->Font().SetColor(clWhite); }

void PlaySoundFile(const std::string& name) { PlaySoundAsync(name); }
