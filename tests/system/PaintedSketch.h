#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ImageChecks.h"
#include "RgbImage.h"
#include "SketchFolder.h"
#include "SketchSession.h"

// The program started on the test pattern and waited for until its window
// shows the whole picture, so that whatever a label draws over the picture
// can be told from the picture itself.
class PaintedSketch {
 public:
  // "NAME=value" entries for the program's environment.
  explicit PaintedSketch(const std::vector<std::string>& environment = {});

  // False, with the reason, when the window did not come up painted.
  bool Ready() const { return ready_; }
  const std::string& Problem() const { return problem_; }

  SketchSession& Session() { return *session_; }
  // Pixels of the area that differ from the bare picture by more than the
  // tolerance: what labels draw there now.
  std::vector<PixelAt> Ink(Area area, int tolerance = 40);
  // The ink pixel that stands out most from the picture below it.
  std::optional<Rgb> StrongestInk(Area area);

 private:
  SketchFolder folder_;
  RgbImage expected_;
  std::unique_ptr<SketchSession> session_;
  bool ready_ = false;
  std::string problem_;
};
