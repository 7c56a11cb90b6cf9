#pragma once

// What the class library knows of the screen, read once.

// Vertical resolution in pixels per inch: the desktop's Xft.dpi where it sets
// one, else the X screen's physical size; 96 without an X display.
int ScreenPixelsPerInch();

// Bits per pixel of the current display mode.
int ScreenBitsPerPixel();
