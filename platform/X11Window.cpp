#include "X11Window.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include "Cp932.h"

namespace {

// The Motif hints that window managers read for frame buttons.
struct MotifWmHints {
  unsigned long flags;
  unsigned long functions;
  unsigned long decorations;
  long inputMode;
  unsigned long status;
};
constexpr unsigned long kHintsFunctions = 1 << 0;
constexpr unsigned long kHintsDecorations = 1 << 1;
constexpr unsigned long kFuncResize = 1 << 1;
constexpr unsigned long kFuncMove = 1 << 2;
constexpr unsigned long kFuncMinimize = 1 << 3;
constexpr unsigned long kFuncMaximize = 1 << 4;
constexpr unsigned long kFuncClose = 1 << 5;
constexpr unsigned long kDecorBorder = 1 << 1;
constexpr unsigned long kDecorTitle = 1 << 3;
constexpr unsigned long kDecorMenu = 1 << 4;
constexpr unsigned long kDecorMinimize = 1 << 5;
constexpr unsigned long kDecorMaximize = 1 << 6;

void SetIconName(Display* display, Window window, const std::string& utf8) {
  XSetIconName(display, window, utf8.c_str());
  Atom netIconName = XInternAtom(display, "_NET_WM_ICON_NAME", False);
  Atom utf8String = XInternAtom(display, "UTF8_STRING", False);
  XChangeProperty(display, window, netIconName, utf8String, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
}

void SetFrameButtons(Display* display, Window window, bool maximize, bool minimize) {
  MotifWmHints hints{};
  hints.flags = kHintsFunctions | kHintsDecorations;
  hints.functions = kFuncMove | kFuncClose | (minimize ? kFuncMinimize : 0) |
                    (maximize ? kFuncMaximize | kFuncResize : 0);
  hints.decorations = kDecorBorder | kDecorTitle | kDecorMenu | (minimize ? kDecorMinimize : 0) |
                      (maximize ? kDecorMaximize : 0);
  Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
  XChangeProperty(display, window, motif, motif, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&hints), 5);
}

XErrorHandler previousErrorHandler = nullptr;

int FilterWakeupErrors(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
  return previousErrorHandler ? previousErrorHandler(display, error) : 0;
}

}  // namespace

void IgnoreWakeupsToClosedWindows() {
  XErrorHandler previous = XSetErrorHandler(FilterWakeupErrors);
  if (previous != FilterWakeupErrors) previousErrorHandler = previous;
}

void ApplyWindowManagerHints(SDL_Window* window, const std::string& iconName, bool maximizeButton,
                             bool minimizeButton) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  Display* display = info.info.x11.display;
  Window xwindow = info.info.x11.window;
  SetIconName(display, xwindow, Cp932ToUtf8(iconName));
  SetFrameButtons(display, xwindow, maximizeButton, minimizeButton);
  XFlush(display);
}
