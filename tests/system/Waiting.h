#pragma once

#include <chrono>
#include <functional>

using std::chrono::milliseconds;

// Polls the condition every few milliseconds until it holds or the time is up;
// says which.
bool WaitUntil(const std::function<bool()>& condition, milliseconds timeout);

// Lets the program work for a while (for checks that something does NOT happen).
void Pause(milliseconds duration);
