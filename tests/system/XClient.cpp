#include "XClient.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>

namespace {

constexpr auto kConnectTimeout = std::chrono::seconds(5);

// A window can go between the event that names it and the question about it;
// that is no failure of the test.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

Display* Connect(const std::string& displayName) {
  auto deadline = std::chrono::steady_clock::now() + kConnectTimeout;
  for (;;) {
    if (Display* display = XOpenDisplay(displayName.c_str())) return display;
    if (std::chrono::steady_clock::now() >= deadline) throw std::runtime_error("cannot connect to " + displayName);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::string TextOf(const XTextProperty& property) {
  std::string text;
  if (property.value) {
    text.assign(reinterpret_cast<const char*>(property.value), property.nitems);
    XFree(property.value);
  }
  return text;
}

int ShiftOf(unsigned long mask) {
  int shift = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

std::uint8_t Component(unsigned long pixel, unsigned long mask) {
  return static_cast<std::uint8_t>((pixel & mask) >> ShiftOf(mask));
}

}  // namespace

XClient::XClient(const std::string& displayName) : display_(Connect(displayName)) {
  XSetErrorHandler(IgnoreXError);
  XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
  XSync(display_, False);
}

XClient::~XClient() { XCloseDisplay(display_); }

XClient::WindowInfo XClient::Describe(Window window) {
  WindowInfo info;
  info.id = window;
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display_, window, &attributes)) return info;
  info.x = attributes.x;
  info.y = attributes.y;
  info.width = attributes.width;
  info.height = attributes.height;
  info.viewable = attributes.map_state == IsViewable;
  XClassHint classHint{};
  if (XGetClassHint(display_, window, &classHint)) {
    info.className = classHint.res_class ? classHint.res_class : "";
    XFree(classHint.res_name);
    XFree(classHint.res_class);
  }
  XTextProperty text{};
  if (XGetWMName(display_, window, &text)) info.name = TextOf(text);
  text = {};
  if (XGetWMIconName(display_, window, &text)) info.iconName = TextOf(text);
  XSizeHints hints{};
  long supplied = 0;
  if (XGetWMNormalHints(display_, window, &hints, &supplied)) {
    if (hints.flags & PMinSize) {
      info.minWidth = hints.min_width;
      info.minHeight = hints.min_height;
    }
    if (hints.flags & PMaxSize) {
      info.maxWidth = hints.max_width;
      info.maxHeight = hints.max_height;
    }
  }
  return info;
}

std::vector<XClient::WindowInfo> XClient::TopLevelWindows() {
  // Windows are described as they are mapped, while they are still there.
  ChangeHistory();
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  std::vector<WindowInfo> windows;
  if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) return windows;
  for (unsigned int i = 0; i < count; ++i) windows.push_back(Describe(children[i]));
  if (children) XFree(children);
  return windows;
}

void XClient::TakeEvents() {
  while (XPending(display_)) {
    XEvent event;
    XNextEvent(display_, &event);
    // A client withdrawing its window also sends the root a copy of the
    // unmap; the server's own report is the one that counts.
    if (event.xany.send_event) continue;
    if (event.type == MapNotify) {
      WindowInfo info = Describe(event.xmap.window);
      known_.push_back(info);
      history_.push_back({Change::Mapped, info});
    } else if (event.type == UnmapNotify) {
      Window window = event.xunmap.window;
      auto it = std::find_if(known_.begin(), known_.end(), [window](const WindowInfo& w) { return w.id == window; });
      WindowInfo info;
      info.id = window;
      if (it != known_.end()) info = *it;
      history_.push_back({Change::Unmapped, info});
    }
  }
}

const std::vector<XClient::WindowChange>& XClient::ChangeHistory() {
  XSync(display_, False);
  TakeEvents();
  return history_;
}

RgbImage XClient::Capture(int x, int y, int width, int height) {
  auto destroy = [](XImage* image) { XDestroyImage(image); };
  std::unique_ptr<XImage, decltype(destroy)> image(
      XGetImage(display_, DefaultRootWindow(display_), x, y, width, height, AllPlanes, ZPixmap), destroy);
  if (!image) throw std::runtime_error("cannot read the screen");
  RgbImage pixels(width, height);
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      unsigned long pixel = XGetPixel(image.get(), column, row);
      pixels.Set(column, row,
                 {Component(pixel, image->red_mask), Component(pixel, image->green_mask),
                  Component(pixel, image->blue_mask)});
    }
  }
  return pixels;
}

void XClient::SendDeleteWindow(Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window, False, NoEventMask, &event);
  XFlush(display_);
}

void XClient::CoverAndUncover(int x, int y, int width, int height) {
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  // The server's screen is 24-bit true colour: the pixel value is the colour.
  attributes.background_pixel = static_cast<unsigned long>(kCoverColour.r) << 16 |
                                static_cast<unsigned long>(kCoverColour.g) << 8 | kCoverColour.b;
  Window cover = XCreateWindow(display_, DefaultRootWindow(display_), x, y, width, height, 0, CopyFromParent,
                               InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
  XMapRaised(display_, cover);
  XSync(display_, False);
  XDestroyWindow(display_, cover);
  XSync(display_, False);
}
