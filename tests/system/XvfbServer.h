#pragma once

#include <memory>
#include <string>

#include "ChildProcess.h"

// A virtual X server of one test's own, on a display number that the server
// picks itself (so tests can run side by side), with no window manager.
class XvfbServer {
 public:
  explicit XvfbServer(int dotsPerInch);

  // ":N", for DISPLAY.
  const std::string& DisplayName() const { return displayName_; }

 private:
  std::unique_ptr<ChildProcess> server_;
  std::string displayName_;
};
