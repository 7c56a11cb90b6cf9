#pragma once

#include <X11/Xlib.h>

// The pointer and the keyboard, driven through the XTest extension as if a
// user moved, clicked and typed. Positions are in root coordinates.
class XInput {
 public:
  explicit XInput(Display* display);

  void MoveTo(int x, int y);
  void Press(unsigned int button);
  void Release(unsigned int button);
  void Click(unsigned int button);
  // Gives the window the keyboard focus, as a window manager would on a click,
  // and types one key on it.
  void TypeKey(Window window, KeySym key);

 private:
  Display* display_;
};
