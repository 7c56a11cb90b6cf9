#include "XInput.h"

#include <X11/extensions/XTest.h>

#include <stdexcept>

XInput::XInput(Display* display) : display_(display) {
  int eventBase = 0;
  int errorBase = 0;
  int major = 0;
  int minor = 0;
  if (!XTestQueryExtension(display_, &eventBase, &errorBase, &major, &minor)) {
    throw std::runtime_error("the X server has no XTest extension");
  }
}

void XInput::MoveTo(int x, int y) {
  XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
  XFlush(display_);
}

void XInput::Press(unsigned int button) {
  XTestFakeButtonEvent(display_, button, True, CurrentTime);
  XFlush(display_);
}

void XInput::Release(unsigned int button) {
  XTestFakeButtonEvent(display_, button, False, CurrentTime);
  XFlush(display_);
}

void XInput::Click(unsigned int button) {
  Press(button);
  Release(button);
}

void XInput::TypeKey(Window window, KeySym key) {
  XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime);
  KeyCode code = XKeysymToKeycode(display_, key);
  XTestFakeKeyEvent(display_, code, True, CurrentTime);
  XTestFakeKeyEvent(display_, code, False, CurrentTime);
  XFlush(display_);
}
