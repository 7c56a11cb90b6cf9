#pragma once

#include <string_view>

#include "Geometry.h"
#include "TCanvas.h"
#include "TFont.h"

// A label's text as the window system draws it: left-aligned, tabs expanded,
// a new line at each line break, no word wrapping and "&" taken as an
// accelerator mark ("&&" shows one "&"; a single "&" is dropped and the next
// character underlined). Captions are code page 932 byte strings.

// The size a label takes for its caption: the widest line by the number of
// lines times the line height. An empty caption measures as one space.
TSize MeasureLabelText(const TFont& font, std::string_view caption);

// Draws only the glyphs, in the font's colour, with the caption's top-left
// corner at (x, y) and within the canvas's clip rectangle.
void DrawLabelText(TCanvas& canvas, int x, int y, const TFont& font, std::string_view caption);

// The height of a one-line text.
int TextHeight(const TFont& font, std::string_view text);
