#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "RgbImage.h"
#include "SketchFolder.h"
#include "XClient.h"
#include "XInput.h"
#include "XvfbServer.h"

// One run of the real program on an X server of its own, started in a
// prepared folder. Positions taken by the helpers below are client
// coordinates of the program's window, which opens at a fixed place.
class SketchSession {
 public:
  struct Options {
    int dotsPerInch = 96;
    // "NAME=value" entries for the program, over the display and the silent
    // audio driver that every run gets.
    std::vector<std::string> environment;
    // What "ulimit -v" would allow it, in bytes.
    rlim_t addressSpaceLimit = RLIM_INFINITY;
  };

  SketchSession(const SketchFolder& folder, const Options& options);
  explicit SketchSession(const SketchFolder& folder) : SketchSession(folder, Options{}) {}
  ~SketchSession();
  SketchSession(const SketchSession&) = delete;
  SketchSession& operator=(const SketchSession&) = delete;

  XClient& X() { return *x_; }
  XInput& Input() { return *input_; }
  ChildProcess& Program() { return *program_; }
  // What the program wrote on standard error, for a failure message.
  std::string ErrorOutput() const;

  // The program's windows (class "TForm1") that are up now: the main window
  // sits at its fixed place, the message box anywhere else.
  static bool IsMainWindow(const XClient::WindowInfo& window);
  static bool IsMessageBox(const XClient::WindowInfo& window);
  std::optional<XClient::WindowInfo> MainWindow();
  std::optional<XClient::WindowInfo> MessageBox();
  // Nothing when the window is not up within a few seconds.
  std::optional<XClient::WindowInfo> WaitForMainWindow();
  std::optional<XClient::WindowInfo> WaitForMessageBox();

  RgbImage CaptureClient();
  RgbImage CaptureClient(int x, int y, int width, int height);
  void MoveTo(int x, int y);
  void ClickAt(int x, int y);

 private:
  std::optional<XClient::WindowInfo> FindWindow(bool (*matches)(const XClient::WindowInfo&));

  std::filesystem::path errorFile_;
  std::unique_ptr<XvfbServer> xvfb_;
  std::unique_ptr<XClient> x_;
  std::unique_ptr<XInput> input_;
  std::unique_ptr<ChildProcess> program_;
};
