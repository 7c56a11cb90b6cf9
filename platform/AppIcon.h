#pragma once

#include <SDL2/SDL.h>

// Gives the window the application's icon, "MAINICON".
void SetApplicationIcon(SDL_Window* window);
