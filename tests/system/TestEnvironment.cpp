#include "TestEnvironment.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

extern char** environ;

namespace {

constexpr std::array kSteeringVariables{
    "DISPLAY",    "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE",
    "LD_PRELOAD", "TZ",              "SDL_MOUSE_DOUBLE_CLICK_TIME",      "SKETCH_PROGRAM",
};

bool Steers(std::string_view entry) {
  std::string_view name = entry.substr(0, entry.find('='));
  return name.starts_with("FAKETIME") ||
         std::find(kSteeringVariables.begin(), kSteeringVariables.end(), name) != kSteeringVariables.end();
}

}  // namespace

std::string SketchPath() {
  const char* value = std::getenv("SKETCH_PROGRAM");
  if (!value || !*value) throw std::runtime_error("SKETCH_PROGRAM is not set; run the tests through CTest");
  return value;
}

std::string XvfbPath() { return XVFB_PATH; }
std::string CjpegPath() { return CJPEG_PATH; }
std::string DjpegPath() { return DJPEG_PATH; }
std::string FaketimeLibraryPath() { return FAKETIME_LIBRARY_PATH; }

std::vector<std::string> InheritedEnvironment() {
  std::vector<std::string> entries;
  for (char** entry = environ; *entry; ++entry) {
    if (!Steers(*entry)) entries.emplace_back(*entry);
  }
  return entries;
}
