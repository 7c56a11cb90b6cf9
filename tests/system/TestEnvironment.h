#pragma once

#include <string>
#include <vector>

// The program under test, which CTest names in SKETCH_PROGRAM, and the tools
// that the build found.
std::string SketchPath();
std::string XvfbPath();
std::string CjpegPath();
std::string DjpegPath();
// Empty where libfaketime is not installed.
std::string FaketimeLibraryPath();

// The test's own environment, without anything that would choose a display,
// a video or audio driver, a clock or a double-click time for a child.
std::vector<std::string> InheritedEnvironment();
