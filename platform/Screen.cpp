#include "Screen.h"

#include <SDL2/SDL.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <cmath>
#include <cstdlib>

namespace {

constexpr int kDefaultPixelsPerInch = 96;

int XftDpi(Display* display) {
  const char* resources = XResourceManagerString(display);
  if (!resources) return 0;
  XrmInitialize();
  XrmDatabase database = XrmGetStringDatabase(resources);
  if (!database) return 0;
  char* type = nullptr;
  XrmValue value{};
  int dpi = 0;
  if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr) {
    dpi = static_cast<int>(std::lround(std::atof(value.addr)));
  }
  XrmDestroyDatabase(database);
  return dpi;
}

int PhysicalDpi(Display* display) {
  int screen = DefaultScreen(display);
  int millimetres = DisplayHeightMM(display, screen);
  if (millimetres <= 0) return 0;
  return static_cast<int>(std::lround(DisplayHeight(display, screen) * 25.4 / millimetres));
}

int ReadPixelsPerInch() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || SDL_strcmp(driver, "x11") != 0) return kDefaultPixelsPerInch;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return kDefaultPixelsPerInch;
  int dpi = XftDpi(display);
  if (dpi <= 0) dpi = PhysicalDpi(display);
  XCloseDisplay(display);
  return dpi > 0 ? dpi : kDefaultPixelsPerInch;
}

}  // namespace

int ScreenPixelsPerInch() {
  static const int dpi = ReadPixelsPerInch();
  return dpi;
}

int ScreenBitsPerPixel() {
  SDL_DisplayMode mode;
  if (SDL_GetCurrentDisplayMode(0, &mode) != 0) return 24;
  return SDL_BITSPERPIXEL(mode.format);
}
