#pragma once

#include "RgbImage.h"

// A picture with smooth colour gradients and fine grain, every channel kept
// well inside 40..215, so that white, navy and blue text drawn over it stands
// out, and a picture shifted by one pixel does not match.
RgbImage MakeTestPattern(int width, int height);
