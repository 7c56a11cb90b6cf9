#include "TextPainter.h"

#include <SDL2/SDL_ttf.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "Cp932.h"
#include "FontCache.h"
#include "FontResolver.h"

namespace {

// A stretch of a line between tabs, with the accelerator marks taken out.
struct Run {
  std::string Text;  // UTF-8
  int X = 0;
};

// The character that a single "&" marks: where it stands in its run.
struct Accelerator {
  std::size_t RunIndex = 0;
  std::size_t Offset = 0;
  std::size_t Length = 0;
};

struct LaidOutLine {
  std::vector<Run> Runs;
  std::optional<Accelerator> Underlined;
  int Width = 0;
};

TTF_Font* FontOf(const TFont& font) {
  const FontFile& file = FontResolver::System().Resolve(font.Name(), font.Charset());
  return FontCache::Shared().Get(file, font.PixelSize(), font.Style() == TFontStyle::Bold);
}

int WidthOf(TTF_Font* font, const std::string& utf8) {
  if (utf8.empty()) return 0;
  int width = 0;
  TTF_SizeUTF8(font, utf8.c_str(), &width, nullptr);
  return width;
}

// Tab stops every eight average character widths, the average taken as the
// window system takes it for dialog units: over the 52 Latin letters, rounded.
int TabWidth(TTF_Font* font) {
  int letters = WidthOf(font, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
  return 8 * std::max(1, (letters / 26 + 1) / 2);
}

std::size_t Utf8Length(char lead) {
  auto byte = static_cast<unsigned char>(lead);
  if (byte >= 0xF0) return 4;
  if (byte >= 0xE0) return 3;
  if (byte >= 0xC0) return 2;
  return 1;
}

// CR LF, a lone CR and a lone LF each end a line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

// Splits a line into runs at its tabs and takes out the accelerator marks.
LaidOutLine TakeMarks(std::string_view line) {
  LaidOutLine laidOut;
  laidOut.Runs.emplace_back();
  bool marked = false;
  auto append = [&](std::string_view character) {
    Run& run = laidOut.Runs.back();
    if (marked)
      laidOut.Underlined = Accelerator{laidOut.Runs.size() - 1, run.Text.size(), character.size()};
    marked = false;
    run.Text.append(character);
  };
  for (std::size_t i = 0; i < line.size();) {
    if (line[i] == '\t') {
      laidOut.Runs.emplace_back();
      marked = false;
      ++i;
    } else if (line.substr(i, 2) == "&&") {
      append("&");
      i += 2;
    } else if (line[i] == '&') {
      marked = true;
      ++i;
    } else {
      std::size_t length = std::min(Utf8Length(line[i]), line.size() - i);
      append(line.substr(i, length));
      i += length;
    }
  }
  return laidOut;
}

// Places the runs: each starts at the next tab stop after the one before.
LaidOutLine LayOutLine(TTF_Font* font, std::string_view line) {
  LaidOutLine laidOut = TakeMarks(line);
  int tabWidth = laidOut.Runs.size() > 1 ? TabWidth(font) : 0;
  int x = 0;
  for (std::size_t i = 0; i < laidOut.Runs.size(); ++i) {
    if (i > 0) x = (x / tabWidth + 1) * tabWidth;
    laidOut.Runs[i].X = x;
    x += WidthOf(font, laidOut.Runs[i].Text);
  }
  laidOut.Width = x;
  return laidOut;
}

std::vector<LaidOutLine> LayOut(TTF_Font* font, std::string_view caption) {
  std::string utf8 = caption.empty() ? std::string(" ") : Cp932ToUtf8(caption);
  std::vector<LaidOutLine> lines;
  for (std::string_view line : SplitLines(utf8)) lines.push_back(LayOutLine(font, line));
  return lines;
}

void DrawRun(TCanvas& canvas, int x, int y, TTF_Font* font, const Run& run, SDL_Color color) {
  if (run.Text.empty()) return;
  // The library renders nothing for a text without width; there is nothing to show then.
  SDL_Surface* glyphs = TTF_RenderUTF8_Blended(font, run.Text.c_str(), color);
  if (glyphs == nullptr) return;
  canvas.Draw(x + run.X, y, glyphs);
  SDL_FreeSurface(glyphs);
}

// A one-pixel line under the marked character, just below the baseline.
void DrawUnderline(TCanvas& canvas, int x, int y, TTF_Font* font, const LaidOutLine& line,
                   TColor color) {
  const Accelerator& mark = *line.Underlined;
  const Run& run = line.Runs[mark.RunIndex];
  int left = WidthOf(font, run.Text.substr(0, mark.Offset));
  int right = WidthOf(font, run.Text.substr(0, mark.Offset + mark.Length));
  int row = std::min(TTF_FontAscent(font) + 1, TTF_FontHeight(font) - 1);
  canvas.FillRect(TRect::FromBounds(x + run.X + left, y + row, right - left, 1), color);
}

}  // namespace

TSize MeasureLabelText(const TFont& font, std::string_view caption) {
  TTF_Font* ttf = FontOf(font);
  std::vector<LaidOutLine> lines = LayOut(ttf, caption);
  int width = 0;
  for (const LaidOutLine& line : lines) width = std::max(width, line.Width);
  return {width, static_cast<int>(lines.size()) * TTF_FontHeight(ttf)};
}

void DrawLabelText(TCanvas& canvas, int x, int y, const TFont& font, std::string_view caption) {
  TTF_Font* ttf = FontOf(font);
  int lineHeight = TTF_FontHeight(ttf);
  SDL_Color color{font.Color().R, font.Color().G, font.Color().B, SDL_ALPHA_OPAQUE};
  TRect clip = canvas.ClipRect();
  std::vector<LaidOutLine> lines = LayOut(ttf, caption);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    int top = y + static_cast<int>(i) * lineHeight;
    if (top >= clip.Bottom || top + lineHeight <= clip.Top) continue;
    for (const Run& run : lines[i].Runs) DrawRun(canvas, x, top, ttf, run, color);
    if (lines[i].Underlined) DrawUnderline(canvas, x, top, ttf, lines[i], font.Color());
  }
}

int TextHeight(const TFont& font, std::string_view text) {
  TTF_Font* ttf = FontOf(font);
  int height = TTF_FontHeight(ttf);
  std::string utf8 = Cp932ToUtf8(text);
  if (!utf8.empty()) TTF_SizeUTF8(ttf, utf8.c_str(), nullptr, &height);
  return height;
}
