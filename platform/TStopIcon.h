#pragma once

#include <SDL2/SDL.h>

#include <string>

#include "TControl.h"

// The stop sign of an error box: a red disc with a white cross.
class TStopIcon : public TControl {
 public:
  static constexpr int kSize = 32;

  TStopIcon(TCustomForm& parent, std::string name);
  ~TStopIcon() override;

  void Paint(TCanvas& canvas) override;

 private:
  SDL_Surface* image_;
};
