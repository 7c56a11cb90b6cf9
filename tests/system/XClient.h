#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <string>
#include <vector>

#include "RgbImage.h"

// The test's own connection to the virtual X server: what windows there are,
// what the screen shows, and the order in which windows were mapped. There is
// no window manager, so top-level windows are the root's children and sit
// exactly where the program put them.
class XClient {
 public:
  struct WindowInfo {
    Window id = 0;
    std::string className;
    std::string name;  // WM_NAME
    std::string iconName;  // WM_ICON_NAME
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool viewable = false;
    std::optional<int> minWidth, minHeight, maxWidth, maxHeight;  // WM_NORMAL_HINTS
  };

  enum class Change { Mapped, Unmapped };
  struct WindowChange {
    Change change;
    WindowInfo window;  // as it was when mapped
  };

  explicit XClient(const std::string& displayName);
  ~XClient();
  XClient(const XClient&) = delete;
  XClient& operator=(const XClient&) = delete;

  Display* Connection() const { return display_; }

  // Top-level windows from the bottom of the stack to the top.
  std::vector<WindowInfo> TopLevelWindows();
  // Every map and unmap of a top-level window since this client connected, in
  // the order the server made them. A window is described when this client
  // first hears of its map, so a test should look often while windows come
  // and go; TopLevelWindows() looks as well.
  const std::vector<WindowChange>& ChangeHistory();

  // Screen pixels of a rectangle in root coordinates.
  RgbImage Capture(int x, int y, int width, int height);

  // What a window manager sends when the user closes a window.
  void SendDeleteWindow(Window window);
  // Lays a window of the test's own, in kCoverColour, over a rectangle and
  // takes it away again, so that whatever lies below is exposed and must be
  // painted again; where it is not, the cover's colour stays on the screen.
  static constexpr Rgb kCoverColour{255, 0, 255};
  void CoverAndUncover(int x, int y, int width, int height);

 private:
  WindowInfo Describe(Window window);
  void TakeEvents();

  Display* display_ = nullptr;
  std::vector<WindowChange> history_;
  std::vector<WindowInfo> known_;  // every window seen mapped, for its unmap
};
