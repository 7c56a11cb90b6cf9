#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "Colors.h"

inline constexpr std::uint8_t DEFAULT_CHARSET = 1;
inline constexpr std::uint8_t SHIFTJIS_CHARSET = 128;

enum class TFontStyle { Regular, Bold };

// A font as the window system is asked for it: a negative Height is the
// character height in pixels (em size), a positive one the cell height.
// Name is held in code page 932. OnChange tells the owner to refit and repaint.
class TFont {
 public:
  const std::string& Name() const { return name_; }
  int Height() const { return height_; }
  TFontStyle Style() const { return style_; }
  TColor Color() const { return color_; }
  std::uint8_t Charset() const { return charset_; }

  void SetName(std::string name);
  void SetHeight(int height);
  void SetStyle(TFontStyle style);
  void SetColor(TColor color);
  void SetCharset(std::uint8_t charset);

  // Pixel em size of the glyphs: the character height.
  int PixelSize() const { return height_ < 0 ? -height_ : height_; }
  // Scales through the point size, as a form scaled to the screen does.
  void ScaleBy(int numerator, int denominator, int pixelsPerInch);

  std::function<void()> OnChange;

 private:
  void Changed();

  std::string name_ = "ＭＳ Ｐゴシック";
  int height_ = -12;
  TFontStyle style_ = TFontStyle::Regular;
  TColor color_ = clBlack;
  std::uint8_t charset_ = DEFAULT_CHARSET;
};
