#pragma once

#include <SDL2/SDL.h>

#include <string>

// What SDL does not say to the window manager: the name on the taskbar entry
// (code page 932) and which frame buttons the window offers.
void ApplyWindowManagerHints(SDL_Window* window, const std::string& iconName, bool maximizeButton,
                             bool minimizeButton);

// Keeps a harmless X error from ending the program: SDL wakes its own event
// wait by sending an event to one of the program's windows, and one that the
// server handles after that window is gone fails with BadWindow.
void IgnoreWakeupsToClosedWindows();
